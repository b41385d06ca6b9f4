#include "trace/TraceFileTavrin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "Reward/L2_REWARD/L2_REWARDPVModel.h"
#include "../framework/ComposedTestModels.h"
#include "TraceTestModels.h"

namespace {

const std::string Stars(38, '*');

// The cache model's first firing, T_WRITE at time 0.5, made through the reward model as
// the step makes it; modelId receives the cache model's id.
Lines traceExampleFiring(int level, std::string* modelId) {
  L2_REWARDPVModel reward(false);
  auto* model = static_cast<L2_CACHESAN*>(reward.TheModel);
  *modelId = idOf(*model);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(level);
  writer.printPreFireAction(&model->T_WRITE);
  writer.printFireAction(&model->T_WRITE, 0.5);
  writer.printPostFireAction(&model->T_WRITE, reward.FireAction(&model->T_WRITE, 0.5));
  return linesOf(out.str());
}

TEST(TavrinTraceFiring, CacheModelFiringAtEachLevel) {
  std::string id;
  EXPECT_EQ(traceExampleFiring(0, &id), Lines{});
  Lines levelOne = traceExampleFiring(1, &id);
  EXPECT_EQ(levelOne, (Lines{"#### Firing: 0.5  Action: (" + id + ")L2_CACHE->T_WRITE",
                             "#### After: (" + id + ")T_WRITE->T_WRITE"}));
  // WRITE holds the one token at the start; the firing moves it into L2_CONTENT. Level 3
  // adds only the whole state after the step, which the loop asks for.
  for (int level : {2, 3}) {
    Lines lines = traceExampleFiring(level, &id);
    EXPECT_EQ(lines, (Lines{"Enabling state before action firing:", "  WRITE = 1",
                            "#### Firing: 0.5  Action: (" + id + ")L2_CACHE->T_WRITE",
                            "#### After: (" + id + ")T_WRITE->T_WRITE",
                            "Affected state after firing: ", "  WRITE = 0", "  L2_CONTENT = 1"}))
        << "level " << level;
  }
}

// A group as the trace sees it: it shows its first member's enabling state, and the step
// names the member that fired after it.
class TestGroup : public BaseActionClass {
 public:
  explicit TestGroup(BaseActionClass* first) : First(first) { defineName("GROUP"); }
  BaseActionClass* getPrintedAction() override { return First; }
  BaseActionClass* First;
};

TEST(TavrinTraceFiring, GroupShowsItsPrintedActionAndTheStateOfTheFiredMember) {
  L2_CACHESAN model;
  TestGroup group(&model.T_READ);
  group.TheModel = &model;
  group.addAffectedSV(model.WRITE);   // the group's own arcs are not shown
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(2);
  writer.printPreFireAction(&group);
  writer.printFireAction(&group, 1234.56789);
  writer.printPostFireAction(&group, &model.T_READ);
  std::string id = idOf(model);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"Enabling state before action firing:", "  READ = 0",
                   "#### Firing: 1234.57  Action: (" + id + ")L2_CACHE->GROUP",   // 6 digits
                   "#### After: (" + id + ")GROUP->T_READ", "Affected state after firing: ",
                   "  READ = 0", "  L2_CONTENT = 0"}));
}

TEST(TavrinTraceText, LevelZeroShowsOnlyTheHeaderAndTheBatchMarks) {
  L2_CACHESAN model;
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printHeader(nullptr);
  writer.newBatch();
  writer.printPreFireAction(&model.T_WRITE);
  writer.printFireAction(&model.T_WRITE, 1);
  writer.printPostFireAction(&model.T_WRITE, model.T_WRITE.Fire());
  writer.newBatch();
  writer.printFooter();
  EXPECT_EQ(out.str(), Stars + "\n\t\tTRACE\n" + Stars +
                           "\n##### NEW BATCH #####\n##### NEW BATCH #####\n");
}

TEST(TavrinTraceState, StatesShowEachModelWithItsPlacesAndPrefixes) {
  TestPVModel reward(new L2_CACHESAN());
  auto* model = static_cast<L2_CACHESAN*>(reward.TheModel);
  model->READ->SetPrefix("cpu1");
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printInitialState(model);
  writer.printState(static_cast<PVModel*>(&reward));
  Lines block{"  Model: (" + idOf(*model) + ")L2_CACHE", "    cpu1.READ = 0", "    WRITE = 1",
              "    L2_CONTENT = 0"};
  Lines expected{"Initial Model State:"};
  expected.insert(expected.end(), block.begin(), block.end());
  expected.push_back("Model State:");
  expected.insert(expected.end(), block.begin(), block.end());
  EXPECT_EQ(linesOf(out.str()), expected);
}

TEST(TavrinTraceState, ComposedModelWithoutLocalStateShowsItsChildrenDirectly) {
  TestJoin join("CACHES");
  auto* left = new L2_CACHESAN();
  join.addChild(left);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&join);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"  Model: (" + idOf(join) + ")CACHES", "  Model: (" + idOf(*left) + ")L2_CACHE",
                   "    READ = 0", "    WRITE = 1", "    L2_CONTENT = 0"}));
}

// One place and one read-only place: the variable count covers both, the local array
// only the place.
class ConstantSAN : public SANModel {
 public:
  ConstantSAN() {
    BaseStateVariableClass* places[] = {&P};
    BaseStateVariableClass* readOnly[] = {&LIMIT};
    initializeSANModelNow("CONST", 1, places, 1, readOnly, 0, nullptr, 0, nullptr);
  }
  Place P{"P", 4};
  Place LIMIT{"LIMIT", 9};
};

TEST(TavrinTraceState, ReadOnlyPlacesAreNotTakenForLocalPlaces) {
  ConstantSAN model;
  ASSERT_EQ(model.getNumStateVariables(), 2);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&model);
  EXPECT_EQ(linesOf(out.str()), (Lines{"  Model: (" + idOf(model) + ")CONST", "    P = 4"}));
}

class TavrinTraceStream : public ::testing::Test {
 protected:
  void TearDown() override {
    ::TraceLevel = savedLevel;
    trout = savedStream;
  }
  int savedLevel = ::TraceLevel;
  std::ostream* savedStream = trout;
};

TEST_F(TavrinTraceStream, FileWriterBecomesTheTraceprintfStreamAndFlushesEveryLine) {
  std::string path = ::testing::TempDir() + "tavrin_trace_flushed.txt";
  {
    TraceFileTavrin writer(path.c_str());
    writer.newBatch();
    ::TraceLevel = 1;
    Traceprintf(1, "note %d\n", 7);
    std::ifstream in(path);   // read while the writer still holds the file
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "##### NEW BATCH #####\nnote 7\n");
  }
  std::remove(path.c_str());
}

TEST_F(TavrinTraceStream, DestroyedWriterHandsTraceprintfBackToStandardOutput) {
  auto out = std::make_unique<std::ostringstream>();
  auto writer = std::make_unique<TraceFileTavrin>(out.get());
  writer.reset();
  out.reset();
  ASSERT_EQ(trout, &std::cout);
  ::TraceLevel = 1;
  ::testing::internal::CaptureStdout();
  Traceprintf(1, "after\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "after\n");
}

}  // namespace

// The composed System of ComposedTestModels.h: the join's block, the replicated model's,
// each cell's places under its instance path (common, shared, shows the store's value
// through each member), then the pool's.
TEST(TavrinTraceState, ComposedModelShowsEveryInstanceUnderItsPath) {
  SystemJoin system;
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&system);
  Lines expected{"  Model: (" + idOf(system) + ")System",
                 "  Model: (" + idOf(*system.cells()) + ")Cells"};
  for (int i = 0; i < 3; i++) {
    std::string path = "System.Cells.Cell[" + std::to_string(i) + "]";
    expected.push_back("  Model: (" + idOf(*system.cell(i)) + ")Cell");
    expected.push_back("    " + path + ".own = 1");
    expected.push_back("    " + path + ".common = 5");
  }
  expected.push_back("  Model: (" + idOf(*system.pool()) + ")Pool");
  expected.push_back("    System.Pool.stock = 5");
  EXPECT_EQ(linesOf(out.str()), expected);
}
