#include "trace/TraceFile.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "TraceTestModels.h"
#include "TraceTestPVModel.h"
#include "trace/TraceFileTavrin.h"
#include "trace/TraceFileXML.h"

namespace {

// Every test here changes the process-wide trace globals; each puts them back.
class TraceGlobals : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLevel = ::TraceLevel;
    savedStream = trout;
  }
  void TearDown() override {
    ::TraceLevel = savedLevel;
    trout = savedStream;
  }
  int savedLevel = 0;
  std::ostream* savedStream = nullptr;
};

using TraceFileLevels = TraceGlobals;

TEST_F(TraceFileLevels, DefaultWriterStartsAtLevelOneAndSetsTheGlobal) {
  ::TraceLevel = 7;
  TraceFile writer;
  EXPECT_EQ(writer.getTraceLevel(), 1);
  EXPECT_EQ(::TraceLevel, 1);
}

TEST_F(TraceFileLevels, StreamWriterStartsAtLevelZeroAndLeavesTheGlobal) {
  ::TraceLevel = 5;
  std::ostringstream out;
  TraceFile writer(&out);
  EXPECT_EQ(writer.getTraceLevel(), 0);
  EXPECT_EQ(::TraceLevel, 5);
}

TEST_F(TraceFileLevels, SetTraceLevelSetsTheWriterAndTheGlobal) {
  std::ostringstream out;
  TraceFile first(&out);
  TraceFile second(&out);
  first.setTraceLevel(3);
  second.setTraceLevel(2);
  EXPECT_EQ(first.getTraceLevel(), 3);
  EXPECT_EQ(second.getTraceLevel(), 2);
  EXPECT_EQ(::TraceLevel, 2);   // the level given last
}

// Records which model the base writer's reward-model form hands to the model form.
class ModelRecorder : public TraceFile {
 public:
  using TraceFile::printState;
  void printState(BaseModelClass* model) override { shown = model; }
  BaseModelClass* shown = nullptr;
};

TEST(TraceFileBase, StateOfARewardModelIsTheStateOfItsMeasuredModel) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 0, 1));
  ModelRecorder writer;
  writer.printState(static_cast<PVModel*>(&reward));
  EXPECT_EQ(writer.shown, reward.TheModel);
}

using TraceprintfOutput = TraceGlobals;

TEST_F(TraceprintfOutput, MessageAboveTheGlobalLevelIsDropped) {
  std::ostringstream out;
  trout = &out;
  ::TraceLevel = 1;
  EXPECT_EQ(Traceprintf(2, "hidden %d", 2), 0);
  EXPECT_EQ(Traceprintf(1, "shown %d;", 1), 0);
  EXPECT_EQ(out.str(), "shown 1;");
}

TEST_F(TraceprintfOutput, LevelZeroMessageAlsoReachesStandardOutputWhenTracingElsewhere) {
  std::ostringstream out;
  trout = &out;
  ::TraceLevel = 0;
  ::testing::internal::CaptureStdout();
  Traceprintf(0, "Simulator encountered an absorbing state.\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Simulator encountered an absorbing state.\n");
  EXPECT_EQ(out.str(), "Simulator encountered an absorbing state.\n");
}

TEST_F(TraceprintfOutput, LevelZeroMessageIsWrittenOnceWhenTracingToStandardOutput) {
  trout = &std::cout;
  ::TraceLevel = 2;
  ::testing::internal::CaptureStdout();
  Traceprintf(0, "once\n");
  Traceprintf(1, "level one\n");   // not a level-0 message: no copy either way
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "once\nlevel one\n");
}

TEST_F(TraceprintfOutput, SixtyFourBitIntegersUseTheLldConversion) {
  std::ostringstream out;
  trout = &out;
  ::TraceLevel = 1;
  Traceprintf(1, "%lld", 1LL << 40);   // 2^40 = 1099511627776
  EXPECT_EQ(out.str(), "1099511627776");
}

TEST_F(TraceprintfOutput, MessageLongerThan999CharactersIsCut) {
  std::ostringstream out;
  trout = &out;
  ::TraceLevel = 1;
  std::string longText(1500, 'x');
  longText[998] = 'L';   // the last character that fits
  Traceprintf(1, "%s", longText.c_str());
  EXPECT_EQ(out.str(), longText.substr(0, 999));
}

// The file handling of the base, seen through each writer kind.
struct WriterKind {
  const char* Name;
  std::function<TraceFile*(const char*)> MakeOnFile;
  std::function<TraceFile*()> MakeWithoutStream;
};

std::ostream& operator<<(std::ostream& out, const WriterKind& kind) { return out << kind.Name; }

int openDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  int count = 0;
  while (readdir(dir) != nullptr) count++;
  closedir(dir);
  return count;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class TraceFileOnDisk : public ::testing::TestWithParam<WriterKind> {
 protected:
  void SetUp() override { savedStream = trout; }
  void TearDown() override {
    trout = savedStream;
    std::remove(path.c_str());
  }
  std::string path = ::testing::TempDir() + "trace_file_on_disk_" + GetParam().Name;
  std::ostream* savedStream = nullptr;
};

TEST_P(TraceFileOnDisk, FileIsOpenWhileTheWriterLivesAndClosedWithIt) {
  int before = openDescriptors();
  std::unique_ptr<TraceFile> writer(GetParam().MakeOnFile(path.c_str()));
  EXPECT_EQ(openDescriptors(), before + 1);
  writer.reset();
  EXPECT_EQ(openDescriptors(), before);
}

TEST_P(TraceFileOnDisk, ExistingFileIsTruncated) {
  std::ofstream(path) << "an older trace\n";
  std::unique_ptr<TraceFile> writer(GetParam().MakeOnFile(path.c_str()));
  writer.reset();
  EXPECT_EQ(fileText(path), "");
}

TEST_P(TraceFileOnDisk, WriterWithoutStreamWritesNothing) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 1, 0));
  auto* model = static_cast<CacheSAN*>(reward.TheModel);
  std::unique_ptr<TraceFile> writer(GetParam().MakeWithoutStream());
  writer->setTraceLevel(3);
  ::testing::internal::CaptureStdout();
  writer->printHeader(&reward);
  writer->newBatch();
  writer->printInitialState(model);
  writer->printPreFireAction(&model->T_READ);
  writer->printFireAction(&model->T_READ, 1);
  writer->printPostFireAction(&model->T_READ, &model->T_READ);
  writer->printState(static_cast<PVModel*>(&reward));
  writer->newBatch();
  writer->printFooter();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

INSTANTIATE_TEST_SUITE_P(
    BothWriterKinds, TraceFileOnDisk,
    ::testing::Values(
        WriterKind{"Tavrin", [](const char* f) -> TraceFile* { return new TraceFileTavrin(f); },
                   []() -> TraceFile* { return new TraceFileTavrin(); }},
        WriterKind{"XML", [](const char* f) -> TraceFile* { return new TraceFileXML(f); },
                   []() -> TraceFile* { return new TraceFileXML(); }}),
    [](const ::testing::TestParamInfo<WriterKind>& info) { return std::string(info.param.Name); });

TEST_F(TraceFileLevels, PlainTextLinesAreOnDiskAsSoonAsWritten) {
  std::string path = ::testing::TempDir() + "trace_file_flushed.txt";
  std::ostream* savedStream = trout;
  {
    TraceFileTavrin writer(path.c_str());
    writer.newBatch();
    EXPECT_EQ(fileText(path), "##### NEW BATCH #####\n");   // the writer is still open
  }
  trout = savedStream;
  std::remove(path.c_str());
}

}  // namespace
