#include "trace/TraceFile.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "TraceTestModels.h"
#include "trace/TraceFileTavrin.h"
#include "trace/TraceFileXML.h"

namespace {

// The tests change the process-wide trace globals; each puts them back.
class TraceGlobals : public ::testing::Test {
 protected:
  void TearDown() override {
    ::TraceLevel = savedLevel;
    trout = savedStream;
  }
  int savedLevel = ::TraceLevel;
  std::ostream* savedStream = trout;
  std::ostringstream out;
};

using TraceFileLevels = TraceGlobals;

TEST_F(TraceFileLevels, DefaultWriterIsAtOneStreamWritersAtZeroAndSetLevelSetsTheGlobal) {
  ::TraceLevel = 7;
  TraceFile byDefault;
  EXPECT_EQ(byDefault.getTraceLevel(), 1);
  EXPECT_EQ(::TraceLevel, 1);
  TraceFile onStream(&out);
  EXPECT_EQ(onStream.getTraceLevel(), 0);
  EXPECT_EQ(::TraceLevel, 1);   // only the default constructor sets it
  onStream.setTraceLevel(3);
  EXPECT_EQ(onStream.getTraceLevel(), 3);
  EXPECT_EQ(::TraceLevel, 3);
}

// Records which model the base writer's reward-model form hands to the model form.
class ModelRecorder : public TraceFile {
 public:
  using TraceFile::printState;
  void printState(BaseModelClass* model) override { shown = model; }
  BaseModelClass* shown = nullptr;
};

TEST(TraceFileBase, StateOfARewardModelIsTheStateOfItsMeasuredModel) {
  TestPVModel reward(new L2_CACHESAN());
  ModelRecorder writer;
  writer.printState(static_cast<PVModel*>(&reward));
  EXPECT_EQ(writer.shown, reward.TheModel);
}

using TraceprintfOutput = TraceGlobals;

TEST_F(TraceprintfOutput, MessageIsWrittenUpToTheGlobalLevelWith64BitIntegersAsLld) {
  trout = &out;
  ::TraceLevel = 1;
  EXPECT_EQ(Traceprintf(2, "hidden"), 0);
  EXPECT_EQ(Traceprintf(1, "%lld;", 1LL << 40), 0);
  EXPECT_EQ(out.str(), "1099511627776;");   // 2^40
}

TEST_F(TraceprintfOutput, LevelZeroMessageReachesStandardOutputOnce) {
  trout = &out;
  ::TraceLevel = 0;
  ::testing::internal::CaptureStdout();
  Traceprintf(0, "absorbing\n");
  trout = &std::cout;   // the trace itself on the standard output: no second copy
  Traceprintf(0, "again\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "absorbing\nagain\n");
  EXPECT_EQ(out.str(), "absorbing\n");
}

TEST_F(TraceprintfOutput, MessageLongerThan999CharactersIsCut) {
  trout = &out;
  ::TraceLevel = 1;
  std::string text(1500, 'x');
  Traceprintf(1, "%s", text.c_str());
  EXPECT_EQ(out.str(), text.substr(0, 999));
}

int openDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  int count = 0;
  while (readdir(dir) != nullptr) count++;
  closedir(dir);
  return count;
}

// Both writer kinds take their file handling from the base.
template <class Writer>
class TraceFileOnDisk : public ::testing::Test {
 protected:
  void TearDown() override {
    trout = savedStream;
    std::remove(path.c_str());
  }
  std::ostream* savedStream = trout;
  std::string path = ::testing::TempDir() + "trace_file_on_disk";
};

using WriterKinds = ::testing::Types<TraceFileTavrin, TraceFileXML>;
TYPED_TEST_SUITE(TraceFileOnDisk, WriterKinds);

TYPED_TEST(TraceFileOnDisk, FileIsTruncatedAndClosedWithItsWriter) {
  std::ofstream(this->path) << "an older trace\n";
  int before = openDescriptors();
  auto writer = std::make_unique<TypeParam>(this->path.c_str());
  EXPECT_EQ(openDescriptors(), before + 1);
  writer.reset();
  EXPECT_EQ(openDescriptors(), before);
  std::ifstream in(this->path);
  EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
}

TYPED_TEST(TraceFileOnDisk, WriterWithoutStreamWritesNothing) {
  TestPVModel reward(new L2_CACHESAN());
  auto* model = static_cast<L2_CACHESAN*>(reward.TheModel);
  TypeParam writer;
  writer.setTraceLevel(3);
  ::testing::internal::CaptureStdout();
  writer.printHeader(&reward);
  writer.newBatch();
  writer.printInitialState(model);
  writer.printPreFireAction(&model->T_WRITE);
  writer.printFireAction(&model->T_WRITE, 1);
  writer.printPostFireAction(&model->T_WRITE, &model->T_WRITE);
  writer.printState(static_cast<PVModel*>(&reward));
  writer.printFooter();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
