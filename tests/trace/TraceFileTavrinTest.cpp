#include "trace/TraceFileTavrin.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TraceTestModels.h"
#include "TraceTestPVModel.h"

namespace {

using Lines = std::vector<std::string>;

const std::string Stars(38, '*');

struct FiringTrace {
  Lines lines;
  std::string modelId;
};

// One firing of T_READ at time 1.5 as the step traces it: the enabling state, the firing
// line, the firing itself, then the after line with the affected state.
FiringTrace traceOneFiring(int level) {
  CacheSAN model("L2_CACHE", 1, 0);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(level);
  writer.printPreFireAction(&model.T_READ);
  writer.printFireAction(&model.T_READ, 1.5);
  BaseActionClass* fired = model.T_READ.Fire();
  writer.printPostFireAction(&model.T_READ, fired);
  return {linesOf(out.str()), idOf(model)};
}

class TavrinTraceGlobals : public ::testing::Test {
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

TEST(TavrinTraceFiring, LevelZeroShowsNoFiring) {
  EXPECT_EQ(traceOneFiring(0).lines, Lines{});
}

TEST(TavrinTraceFiring, LevelOneShowsTheFiringAndAfterLines) {
  FiringTrace trace = traceOneFiring(1);
  EXPECT_EQ(trace.lines, (Lines{"#### Firing: 1.5  Action: (" + trace.modelId + ")L2_CACHE->T_READ",
                                "#### After: (" + trace.modelId + ")T_READ->T_READ"}));
}

// READ is 1 before the firing; the firing takes it to 0 and L2_CONTENT from 0 to 1.
Lines detailedFiring(const std::string& modelId) {
  return {"Enabling state before action firing:", "  READ = 1",
          "#### Firing: 1.5  Action: (" + modelId + ")L2_CACHE->T_READ",
          "#### After: (" + modelId + ")T_READ->T_READ", "Affected state after firing: ",
          "  READ = 0", "  L2_CONTENT = 1"};
}

TEST(TavrinTraceFiring, LevelTwoAddsTheEnablingAndTheAffectedState) {
  FiringTrace trace = traceOneFiring(2);
  EXPECT_EQ(trace.lines, detailedFiring(trace.modelId));
}

TEST(TavrinTraceFiring, LevelThreeShowsTheSameFiringAsLevelTwo) {
  // The whole state after a step at level 3 is asked for by the loop, not by the firing.
  FiringTrace trace = traceOneFiring(3);
  EXPECT_EQ(trace.lines, detailedFiring(trace.modelId));
}

TEST(TavrinTraceFiring, TimeIsWrittenWithAtMostSixSignificantDigits) {
  CacheSAN model("L2_CACHE", 1, 0);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(1);
  writer.printFireAction(&model.T_WRITE, 1234.56789);
  writer.printFireAction(&model.T_WRITE, 0.0000001);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"#### Firing: 1234.57  Action: (" + idOf(model) + ")L2_CACHE->T_WRITE",
                   "#### Firing: 1e-07  Action: (" + idOf(model) + ")L2_CACHE->T_WRITE"}));
}

// An action that asks the trace to show another action's enabling state, as a group
// shows its first member's.
class ShowsOther : public BaseActionClass {
 public:
  explicit ShowsOther(BaseActionClass* other) : Other(other) {}
  BaseActionClass* getPrintedAction() override { return Other; }
  BaseActionClass* Other;
};

TEST(TavrinTraceFiring, EnablingStateIsThatOfThePrintedAction) {
  CacheSAN model("L2_CACHE", 1, 4);
  ShowsOther group(&model.T_WRITE);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(2);
  writer.printPreFireAction(&group);
  EXPECT_EQ(linesOf(out.str()), (Lines{"Enabling state before action firing:", "  WRITE = 4"}));
}

TEST(TavrinTraceFiring, AfterLineNamesTheGroupThenTheActionThatFired) {
  CacheSAN model("L2_CACHE", 1, 0);
  ShowsOther group(&model.T_READ);
  group.defineName("GROUP");
  group.TheModel = &model;
  group.addAffectedSV(model.WRITE);   // the group's own arcs are not the fired action's
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(2);
  writer.printPostFireAction(&group, &model.T_READ);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"#### After: (" + idOf(model) + ")GROUP->T_READ",
                   "Affected state after firing: ", "  READ = 1", "  L2_CONTENT = 0"}));
}

TEST(TavrinTraceText, HeaderIsTheTitleBetweenTwoRowsOfThirtyEightStars) {
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printHeader(nullptr);
  EXPECT_EQ(out.str(), Stars + "\n\t\tTRACE\n" + Stars + "\n");
}

TEST(TavrinTraceText, LevelZeroShowsOnlyTheHeaderAndTheBatchMarks) {
  CacheSAN model("L2_CACHE", 1, 0);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(0);
  writer.printHeader(nullptr);
  writer.newBatch();
  writer.printPreFireAction(&model.T_READ);
  writer.printFireAction(&model.T_READ, 1);
  writer.printPostFireAction(&model.T_READ, model.T_READ.Fire());
  writer.newBatch();
  writer.printFooter();
  EXPECT_EQ(linesOf(out.str()),
            (Lines{Stars, "\t\tTRACE", Stars, "##### NEW BATCH #####", "##### NEW BATCH #####"}));
}

TEST(TavrinTraceState, InitialStateListsEveryPlaceUnderItsModel) {
  CacheSAN model("L2_CACHE", 1, 2);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printInitialState(&model);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"Initial Model State:", "  Model: (" + idOf(model) + ")L2_CACHE",
                   "    READ = 1", "    WRITE = 2", "    L2_CONTENT = 0"}));
}

TEST(TavrinTraceState, FullStateIsTheBlockOfTheMeasuredModel) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 3, 0));
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(static_cast<PVModel*>(&reward));
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"Model State:", "  Model: (" + idOf(*reward.TheModel) + ")L2_CACHE",
                   "    READ = 3", "    WRITE = 0", "    L2_CONTENT = 0"}));
}

TEST(TavrinTraceState, PrefixedPlaceIsShownAsPrefixFullStopName) {
  CacheSAN model("L2_CACHE", 1, 0);
  model.READ->SetPrefix("cpu1");
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.setTraceLevel(2);
  writer.printState(&model);
  writer.printPreFireAction(&model.T_READ);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"  Model: (" + idOf(model) + ")L2_CACHE", "    cpu1.READ = 1",
                   "    WRITE = 0", "    L2_CONTENT = 0", "Enabling state before action firing:",
                   "  cpu1.READ = 1"}));
}

TEST(TavrinTraceState, ComposedModelWithoutLocalStateShowsItsChildrenDirectly) {
  TestJoin join("CACHES");
  auto* left = new CacheSAN("LEFT", 1, 0);
  auto* right = new CacheSAN("RIGHT", 0, 1);
  join.addChild(left);
  join.addChild(right);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&join);
  EXPECT_EQ(linesOf(out.str()),
            (Lines{"  Model: (" + idOf(join) + ")CACHES", "  Model: (" + idOf(*left) + ")LEFT",
                   "    READ = 1", "    WRITE = 0", "    L2_CONTENT = 0",
                   "  Model: (" + idOf(*right) + ")RIGHT", "    READ = 0", "    WRITE = 1",
                   "    L2_CONTENT = 0"}));
}

// A model with one place and one read-only place: the variable count covers both, the
// local array only the place.
class ConstantSAN : public SANModel {
 public:
  ConstantSAN() : P(new Place("P", 4)), LIMIT(new Place("LIMIT", 9)) {
    BaseStateVariableClass* places[] = {P};
    BaseStateVariableClass* readOnly[] = {LIMIT};
    initializeSANModelNow("CONST", 1, places, 1, readOnly, 0, nullptr, 0, nullptr);
  }
  ~ConstantSAN() override {
    delete P;
    delete LIMIT;
  }
  Place* P;
  Place* LIMIT;
};

TEST(TavrinTraceState, ReadOnlyPlacesAreNotTakenForLocalPlaces) {
  ConstantSAN model;
  ASSERT_EQ(model.getNumStateVariables(), 2);
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&model);
  EXPECT_EQ(linesOf(out.str()), (Lines{"  Model: (" + idOf(model) + ")CONST", "    P = 4"}));
}

// A record of two places, seen by the trace through its leaves.
class PairVariable : public BaseStateVariableClass {
 public:
  PairVariable() : BaseStateVariableClass("pair", ""), First("first", 5), Second("second", 6) {
    First.SetPrefix("pair");
    Second.SetPrefix("pair");
  }
  int StateSize() override { return First.StateSize() + Second.StateSize(); }
  void SetState(void*) override {}
  void CurrentState(void*) override {}
  void share(BaseStateVariableClass*) override {}
  bool isLeafNode() override { return false; }
  int getNumLeafNodes() override { return 2; }
  List<BaseStateVariableClass>* getLeafNodes() override {
    auto* leaves = new List<BaseStateVariableClass>(2);
    leaves->append(&First);
    leaves->append(&Second);
    return leaves;
  }
  Place First;
  Place Second;
};

class PairSAN : public SANModel {
 public:
  PairSAN() {
    BaseStateVariableClass* places[] = {&Pair, &Count};
    initializeSANModelNow("PAIRS", 2, places, 0, nullptr, 0, nullptr, 0, nullptr);
  }
  PairVariable Pair;
  Place Count{"count", 2};
};

TEST(TavrinTraceState, StructuredVariableIsShownLeafByLeaf) {
  PairSAN model;
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  writer.printState(&model);
  EXPECT_EQ(linesOf(out.str()), (Lines{"  Model: (" + idOf(model) + ")PAIRS",
                                       "    pair.first = 5", "    pair.second = 6",
                                       "    count = 2"}));
}

using TavrinTraceStream = TavrinTraceGlobals;

TEST_F(TavrinTraceStream, WriterOnAStreamBecomesTheTraceprintfStream) {
  std::ostringstream out;
  ::TraceLevel = 1;
  TraceFileTavrin writer(&out);
  Traceprintf(1, "message %d\n", 7);
  EXPECT_EQ(out.str(), "message 7\n");
}

TEST_F(TavrinTraceStream, DefaultWriterLeavesTheTraceprintfStream) {
  std::ostringstream out;
  trout = &out;
  TraceFileTavrin writer;
  EXPECT_EQ(trout, &out);
}

TEST_F(TavrinTraceStream, DestroyedWriterHandsTraceprintfBackToStandardOutput) {
  auto out = std::make_unique<std::ostringstream>();
  auto writer = std::make_unique<TraceFileTavrin>(out.get());
  writer.reset();
  out.reset();
  EXPECT_EQ(trout, &std::cout);
  ::TraceLevel = 1;
  ::testing::internal::CaptureStdout();
  Traceprintf(1, "after\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "after\n");
}

}  // namespace
