#include "rewards/PVModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "RewardFixtures.h"
#include "engine/SimulatorClass.h"
#include "framework/PostselectGroup.h"

using namespace rewardtest;

namespace {

// A variable reading place X of model "C" at the time point [at, at].
NodeRecipe InstantOfX(double at) {
  NodeRecipe recipe;
  recipe.Starts = {at};
  recipe.Stops = {at};
  recipe.Variables = {{"X", "C"}};
  return recipe;
}

NodeRecipe TwoTimePoints() {
  NodeRecipe recipe;
  recipe.Starts = {1.0, 2.0};
  recipe.Stops = {1.5, 2.5};
  return recipe;
}

// The simulator's order for one firing: accumulate up to the firing, then fire.
void FireAt(PVModel& model, BaseActionClass* action, double time) {
  model.Accumulate(time);
  model.FireAction(action, time);
}

TEST(PVModelInstantOfTime, VariableReportsTheMarkingAfterEveryFiringAtItsTime) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(2.0)});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 1.0);   // X = 1
  FireAt(model, &c->Bump, 2.0);   // X = 2
  FireAt(model, &c->Bump, 2.0);   // X = 3, the marking just after all firings at 2
  FireAt(model, &c->Bump, 3.0);   // X = 4, too late to count
  model.EndAccumulate(5.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 3.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalRewardSqr, 9.0);
}

TEST(PVModelInstantOfTime, VariableReportsTheMarkingHeldWhenNothingFiresAtItsTime) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(2.0)});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 1.0);   // X = 1, held over [1, 3)
  FireAt(model, &c->Bump, 3.0);
  FireAt(model, &c->Bump, 4.0);
  model.EndAccumulate(5.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 1.0);
}

TEST(PVModelInstantOfTime, VariableAtTimeZeroReportsTheInitialMarking) {
  CounterModel* c = new CounterModel("C");
  c->X->setMark(7);
  TestPVModel model(c, {InstantOfX(0.0)});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 0.5);
  model.EndAccumulate(5.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 7.0);
}

TEST(PVModelInstantOfTime, BatchEndingBeforeAnyLaterFiringStillCompletesTheVariable) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(2.0)});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 2.0);   // X = 1 at time 2; no event follows before the end
  model.EndAccumulate(2.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->Accumulating, acc_done);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 1.0);
}

TEST(PVModelList, ExpansionMakesOneNodePerTimePointWithItsOwnWindow) {
  TestPVModel model(new CounterModel("C"), {TwoTimePoints(), TwoTimePoints()});
  ASSERT_EQ(model.Number_Of_Performance_Variables, 4);
  for (int p = 0; p < 4; p++) EXPECT_EQ(model.PerformanceVariableList[p]->id, p);
  EXPECT_EQ(model.PerformanceVariableList[1]->Start, 2.0);
  EXPECT_EQ(model.PerformanceVariableList[1]->Stop, 2.5);
  EXPECT_EQ(model.PerformanceVariableList[2]->Start, 1.0);
  EXPECT_EQ(model.Simulation_Stop_Time, 2.5);
}

TEST(PVModelList, WithoutExpansionEachVariableIsOneNode) {
  TestPVModel model(new CounterModel("C"), {TwoTimePoints(), TwoTimePoints()}, false);
  EXPECT_EQ(model.Number_Of_Performance_Variables, 2);
  EXPECT_EQ(model.Simulation_Stop_Time, 1.5);
}

TEST(PVModelList, ListGrowsWhenTheFiftiethVariableNeedsMoreRoomThanTheFirstHundredSlots) {
  // 49 variables of 2 points fill 98 of the 100 slots (each check: count + 2 <= 99). The
  // 50th finds 98 + 2 = 100 > 99, so the room becomes 2 * (100 + 2) = 204.
  TestPVModel fortyNine(new CounterModel("C"), std::vector<NodeRecipe>(49, TwoTimePoints()),
                        true, false);
  EXPECT_EQ(fortyNine.PVListCapacity, 100);
  TestPVModel fifty(new CounterModel("C"), std::vector<NodeRecipe>(50, TwoTimePoints()), true,
                    false);
  EXPECT_EQ(fifty.PVListCapacity, 204);
  TestPVModel sixty(new CounterModel("C"), std::vector<NodeRecipe>(60, TwoTimePoints()), true,
                    false);
  EXPECT_EQ(sixty.PVListCapacity, 204);
  ASSERT_EQ(sixty.Number_Of_Performance_Variables, 120);
  EXPECT_EQ(sixty.PerformanceVariableList[119]->id, 119);
  EXPECT_EQ(sixty.PerformanceVariableList[119]->Start, 2.0);
}

TEST(PVModelList, IdsOfASecondRewardModelStartAgainAtZero) {
  TestPVModel first(new CounterModel("C"), {InstantOfX(1.0), InstantOfX(2.0)});
  TestPVModel second(new CounterModel("C"), {InstantOfX(1.0)});
  EXPECT_EQ(second.PerformanceVariableList[0]->id, 0);
}

TEST(PVModelWiring, ActionChangingAReadVariableAffectsTheNodeAndItsWorker) {
  CounterModel* c = new CounterModel("C");
  NodeRecipe unaffected;
  unaffected.Models = {"C"};
  TestPVModel model(c, {unaffected, InstantOfX(1.0)});
  BaseActionClass& bump = c->Bump;
  ASSERT_EQ(bump.AffectedNodesByRateReward.size(), 1);
  EXPECT_EQ(bump.AffectedNodesByRateReward[0], 1);
  EXPECT_EQ(bump.AffectedRateWorkers[0].size(), 0);
  ASSERT_EQ(bump.AffectedRateWorkers[1].size(), 1);
  EXPECT_EQ(bump.AffectedRateWorkers[1][0], 0);
  EXPECT_EQ(model.NumAffectingActions, 1);
  ASSERT_EQ(model.TotalNumAffectingActions, 1);
  EXPECT_EQ(model.AffectingActions[0], &bump);
  EXPECT_EQ(model.ListOfAffectedLists[0], &bump.AffectedNodes);
  ASSERT_EQ(bump.AffectedNodes.size(), 1);
  EXPECT_EQ(bump.AffectedNodes[0], 1);
  PerformanceVariableNode* node = model.PerformanceVariableList[1];
  ASSERT_EQ(node->NumberOfActionDependencies, 1);
  EXPECT_EQ(node->ActionDependencies[0], &bump);
  EXPECT_EQ(model.PerformanceVariableList[0]->NumberOfActionDependencies, 0);
}

TEST(PVModelWiring, ModelWithNoAffectingActionLeavesTheDependencyListsEmpty) {
  NodeRecipe recipe;
  recipe.Models = {"C"};
  TestPVModel model(new CounterModel("C"), {recipe});
  EXPECT_EQ(model.AffectingActions, nullptr);
  EXPECT_EQ(model.ListOfAffectedLists, nullptr);
  EXPECT_EQ(model.TotalNumAffectingActions, 0);
  EXPECT_EQ(model.PerformanceVariableList[0]->NumberOfActionDependencies, 0);
  EXPECT_EQ(model.PerformanceVariableList[0]->ActionDependencies, nullptr);
}

TEST(PVModelWiring, EachInstanceActionAffectsOnlyTheWorkersReadingThatInstance) {
  CompositeModel* whole = new CompositeModel("Whole");
  CounterModel* c0 = whole->Add("C");
  CounterModel* c1 = whole->Add("C");
  TestPVModel model(whole, {InstantOfX(1.0)});
  ASSERT_EQ(model.PerformanceVariableList[0]->NumberOfWorkers, 2);
  ASSERT_EQ(c1->Bump.AffectedRateWorkers[0].size(), 1);
  EXPECT_EQ(c1->Bump.AffectedRateWorkers[0][0], 1);
  ASSERT_EQ(c0->Bump.AffectedRateWorkers[0].size(), 1);
  EXPECT_EQ(c0->Bump.AffectedRateWorkers[0][0], 0);
  EXPECT_EQ(model.PerformanceVariableList[0]->NumberOfActionDependencies, 2);
}

TEST(PVModelWiring, ImpulseIsEarnedOnlyByTheWorkerOfTheFiringInstance) {
  CompositeModel* whole = new CompositeModel("Whole");
  CounterModel* c0 = whole->Add("C");
  CounterModel* c1 = whole->Add("C");
  NodeRecipe recipe;
  recipe.Starts = {0.0};
  recipe.Stops = {10.0};
  recipe.Impulses = {{"Bump", "C"}};
  TestPVModel model(whole, {recipe});
  model.ConsiderOnly(nullptr, 0);
  PerformanceVariableNode* node = model.PerformanceVariableList[0];
  ASSERT_EQ(model.NumActionsWithImpulseAffects, 2);
  ASSERT_EQ(c1->Bump.NumAffectedImpulseWorkers[0][0], 1);
  EXPECT_EQ(c1->Bump.AffectedImpulseWorkers[0][0][0], 1);
  EXPECT_EQ(node->NumberOfActionDependencies, 2);

  // The impulse of a firing is accumulated by the call that follows it, the last one by
  // the end of the batch.
  FireAt(model, &c1->Bump, 1.0);
  FireAt(model, &c1->Bump, 2.0);
  FireAt(model, &c0->Bump, 3.0);
  model.EndAccumulate(10.0);
  EXPECT_EQ(node->ImpulseWorkersList[0][0]->Impulse, 1.0);
  EXPECT_EQ(node->ImpulseWorkersList[0][1]->Impulse, 2.0);
  // Completion adds the impulses 1 and 2: observation 3, squares 1 + 4.
  EXPECT_EQ(node->TotalReward, 3.0);
  EXPECT_EQ(node->TotalRewardSqr, 5.0);
}

// Records the order in which the nodes accumulate.
std::vector<int>* AccumulationLog = nullptr;

class LoggingWorker : public MarkWorker {
 public:
  explicit LoggingWorker(int tag) : MarkWorker(0), Tag(tag) {}
  void Accumulate(double, double) override { AccumulationLog->push_back(Tag); }
  int Tag;
};

TEST(PVModelRun, ConsiderOnlyAccumulatesTheChosenNodesInTheGivenOrder) {
  std::vector<int> log;
  AccumulationLog = &log;
  std::vector<NodeRecipe> recipes(3);
  for (int p = 0; p < 3; p++) {
    recipes[p].Starts = {0.0};
    recipes[p].Stops = {10.0};
    recipes[p].Models = {"C"};
    recipes[p].MakeWorker = [p]() { return new LoggingWorker(p); };
  }
  TestPVModel model(new CounterModel("C"), recipes);
  int indices[] = {2, 0};
  model.ConsiderOnly(indices, 2);
  ASSERT_EQ(model.RelevantNodes.getNumItems(), 2);
  EXPECT_EQ(model.RelevantNodes[0], model.PerformanceVariableList[2]);
  // Nothing has fired: no node has a reason to accumulate before the batch end.
  model.Accumulate(1.0);
  EXPECT_TRUE(log.empty());
  model.EndAccumulate(5.0);
  EXPECT_EQ(log, (std::vector<int>{2, 0}));
  EXPECT_EQ(model.PerformanceVariableList[1]->Accumulating, acc_later);
  AccumulationLog = nullptr;
}

TEST(PVModelRun, RateRewardCountsEachMarkingUntilTheFiringThatChangesIt) {
  CounterModel* c = new CounterModel("C");
  NodeRecipe reads;
  reads.Reward = INTERVAL_OF_TIME;
  reads.Starts = {0.0};
  reads.Stops = {10.0};
  reads.Variables = {{"X", "C"}};
  reads.MakeWorker = []() { return new XWorker<IntervalOfTime>(); };
  TestPVModel model(c, {reads});
  model.ConsiderOnly(nullptr, 0);
  // X is 0 on [0, 2), 1 on [2, 4) and 2 on [4, 10).
  FireAt(model, &c->Bump, 2.0);
  FireAt(model, &c->Bump, 4.0);
  model.EndAccumulate(10.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 0.0 * 2 + 1.0 * 2 + 2.0 * 6);
}

// Model "C" again, but its two activities share one group, Both: one adds a token to X, the
// other two. The engine fires the group, which picks its member.
class GroupedModel : public SANModel {
 public:
  class AddActivity : public Activity {
   public:
    AddActivity(const char* name, short amount) : Amount(amount) {
      ActivityInitialize(name, 0, Exponential, RaceEnabled, 1, 0, false);
    }
    bool Enabled() override { return true; }
    double Weight() override { return 1.0; }
    int Rank() override { return 1; }
    BaseActionClass* Fire() override {
      X->Mark() += Amount;
      return this;
    }
    void LinkVariables() override {}
    Place* X = nullptr;
    short Amount;
  };

  GroupedModel() : X(new Place("X", 0)), One("One", 1), Two("Two", 2) {
    Both.initialize(2, "Both");
    Both.appendGroup(&One);
    Both.appendGroup(&Two);
    BaseStateVariableClass* places[] = {X};
    Activity* activities[] = {&One, &Two};
    BaseGroupClass* groups[] = {&Both};
    initializeSANModelNow("C", 1, places, 0, nullptr, 2, activities, 1, groups);
    One.X = X;
    Two.X = X;
    AddAffectArc(X, &One);
    AddAffectArc(X, &Two);
  }
  ~GroupedModel() override { delete X; }

  Place* X;   // owned
  AddActivity One;
  AddActivity Two;
  PostselectGroup Both;
};

// The variable is brought up to date before the group fires, whichever member it picks:
// X is 0 on [0, 2) and then 1 or 2 up to the end at 10.
TEST(PVModelRun, FiringAGroupAccumulatesTheRewardsItsMembersChange) {
  GroupedModel* g = new GroupedModel();
  NodeRecipe reads;
  reads.Reward = INTERVAL_OF_TIME;
  reads.Starts = {0.0};
  reads.Stops = {10.0};
  reads.Variables = {{"X", "C"}};
  reads.MakeWorker = []() { return new XWorker<IntervalOfTime, GroupedModel>(); };
  TestPVModel model(g, {reads});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &g->Both, 2.0);
  short after = g->X->getMark();
  ASSERT_TRUE(after == 1 || after == 2);
  model.EndAccumulate(10.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 8.0 * after);
}

TEST(PVModelRun, FiringThatChangesNoReadVariableLeavesTheNodeAlone) {
  std::vector<int> log;
  AccumulationLog = &log;
  CounterModel* c = new CounterModel("C");
  NodeRecipe unread;   // depends on the model, reads none of its variables
  unread.Models = {"C"};
  unread.MakeWorker = []() { return new LoggingWorker(7); };
  TestPVModel model(c, {unread});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 1.0);
  FireAt(model, &c->Bump, 2.0);
  EXPECT_TRUE(log.empty());
  model.EndAccumulate(5.0);
  EXPECT_EQ(log, (std::vector<int>{7}));
  AccumulationLog = nullptr;
}

TEST(PVModelRun, FireActionKeepsTheFiredActionAndItsTime) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(1.0)});
  EXPECT_EQ(model.LastAction, &model.ZeroImpulseAction);
  EXPECT_STREQ(model.ZeroImpulseAction.ActionName, "No Action Fired Yet");
  EXPECT_EQ(model.FireAction(&c->Bump, 2.5), &c->Bump);
  EXPECT_EQ(model.LastAction, &c->Bump);
  EXPECT_EQ(BaseModelClass::LastActionTime, 2.5);
  EXPECT_EQ(c->X->getMark(), 1);
}

TEST(PVModelRun, PVResetLeavesNeverStartedNodesAlone) {
  CounterModel* c = new CounterModel("C");
  NodeRecipe late = InstantOfX(5.0);
  late.Kind = steady_state;
  late.Stops = {10.0};   // window [5, 10]; a reset would slide it to [10, 15]
  TestPVModel model(c, {InstantOfX(0.0), late});
  model.ConsiderOnly(nullptr, 0);
  c->X->setMark(2);
  FireAt(model, &c->Bump, 1.0);   // completes the first node with X = 2
  ASSERT_EQ(model.PerformanceVariableList[0]->TotalReward, 2.0);
  model.PVReset();
  PerformanceVariableNode* first = model.PerformanceVariableList[0];
  PerformanceVariableNode* never = model.PerformanceVariableList[1];
  EXPECT_EQ(first->Accumulating, acc_later);
  EXPECT_EQ(first->TotalReward, 0.0);
  EXPECT_EQ(never->Accumulating, acc_later);
  EXPECT_EQ(never->Start, 5.0);
  EXPECT_EQ(never->Stop, 10.0);
  EXPECT_EQ(model.LastAction, &model.ZeroImpulseAction);
  EXPECT_EQ(BaseModelClass::LastActionTime, 0.0);
}

TEST(PVModelRun, PVResetResetsANodeStillAccumulating) {
  CounterModel* c = new CounterModel("C");
  NodeRecipe window = InstantOfX(1.0);
  window.Kind = steady_state;
  window.Stops = {4.0};
  TestPVModel model(c, {window});
  model.ConsiderOnly(nullptr, 0);
  FireAt(model, &c->Bump, 2.0);   // inside [1, 4]: accumulating
  ASSERT_EQ(model.PerformanceVariableList[0]->Accumulating, acc_now);
  model.PVReset();
  EXPECT_EQ(model.PerformanceVariableList[0]->Start, 4.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->Stop, 7.0);
}

TEST(PVModelRun, SteadyStateStartsOnlyTheSteadyStateNodes) {
  NodeRecipe steady = InstantOfX(3.0);
  steady.Kind = steady_state;
  TestPVModel model(new CounterModel("C"), {InstantOfX(3.0), steady});
  model.SteadyState();
  EXPECT_EQ(model.PerformanceVariableList[0]->Accumulating, acc_later);
  EXPECT_EQ(model.PerformanceVariableList[1]->Accumulating, acc_now);
}

TEST(PVModelState, StateOperationsPassThroughToTheMeasuredModel) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(1.0)});
  model.ConsiderOnly(nullptr, 0);
  EXPECT_EQ(model.StateSize(), 2);
  EXPECT_EQ(model.ModelStateSize, 2);
  short saved = -1;
  c->X->setMark(6);
  model.CurrentState(&saved);
  EXPECT_EQ(saved, 6);
  short restored = 9;
  model.SetState(&restored);
  EXPECT_EQ(c->X->getMark(), 9);
  EXPECT_TRUE(model.CompareState(&restored, &restored));
}

TEST(PVModelState, FiringFromAStateEvaluatesTheRewardOfTheNewState) {
  CounterModel* c = new CounterModel("C");
  TestPVModel model(c, {InstantOfX(1.0)});
  model.ConsiderOnly(nullptr, 0);
  c->X->setMark(4);
  short state = 0;
  model.FireAction(&state, &c->Bump);   // X = 5
  EXPECT_EQ(state, 5);
  EXPECT_EQ(model.LastAction, &c->Bump);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 5.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalRewardSqr, 25.0);
  c->X->setMark(3);
  model.AgeAction(nullptr, &c->Bump);
  EXPECT_EQ(model.LastAction, &model.ZeroImpulseAction);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 3.0);
}

TEST(PVModelState, PutPVStateEvaluatesWithoutImpulse) {
  CompositeModel* whole = new CompositeModel("Whole");
  whole->Add("C");
  NodeRecipe recipe = InstantOfX(1.0);
  recipe.Impulses = {{"Bump", "C"}};
  TestPVModel model(whole, {recipe});
  model.ConsiderOnly(nullptr, 0);
  whole->Children[0]->X->setMark(2);
  model.PerformanceVariableList[0]->TotalImpulse = 8.0;
  model.PutPVState(nullptr);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalReward, 2.0);
  EXPECT_EQ(model.PerformanceVariableList[0]->TotalImpulse, 0.0);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PVModelTypeFile, EachExpandedNodeRepeatsAllTimePointsInDefaultFormat) {
  NodeRecipe recipe;
  recipe.Name = "Busy";
  recipe.Reward = TIMEAVE_INTERVAL_OF_TIME;
  recipe.Starts = {0.5, 1234567.0};
  recipe.Stops = {2.0, 1e-7};
  TestPVModel model(new CounterModel("C"), {recipe});
  std::string path = ::testing::TempDir() + "pvtypes.txt";
  {
    std::ofstream stale(path);
    stale << "left over from before, longer than what follows................\n";
  }
  model.WritePVTypeFile(path.c_str());
  std::string entry =
      "Name:Busy\nType:2\nNumTimes:2\nStart:0.5\nStop:2\nStart:1.23457e+06\nStop:1e-07\n";
  EXPECT_EQ(ReadFile(path), "Version:1\nNumPV:2\n" + entry + entry);
  std::remove(path.c_str());
}

TEST(PVModelDiagnostics, DebugLevelFourTracesTheSetUp) {
  int saved = GlobalDebugLevel;
  GlobalDebugLevel = 4;
  testing::internal::CaptureStdout();
  {
    TestPVModel model(new CounterModel("C"), {InstantOfX(1.0)});
  }
  std::string out = testing::internal::GetCapturedStdout();
  GlobalDebugLevel = saved;
  EXPECT_NE(out.find("** Fixing references\n** References Fixed\n"), std::string::npos);
  EXPECT_NE(out.find("** ListOfActions created with number of actions = 1\n"), std::string::npos);
  EXPECT_NE(out.find("** \tFor Node: 0 Number of dependencies = 1\n"), std::string::npos);
  EXPECT_NE(out.find("** Number Of Actions with affects is: 1 , NumActions is: 1\n"),
            std::string::npos);
}

TEST(PVModelDiagnostics, DebugLevelZeroPrintsNothing) {
  testing::internal::CaptureStdout();
  {
    CounterModel* c = new CounterModel("C");
    TestPVModel model(c, {InstantOfX(1.0)});
    model.ConsiderOnly(nullptr, 0);
    FireAt(model, &c->Bump, 1.0);
    model.EndAccumulate(2.0);
    model.PVReset();
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace

namespace {

// Builds a reward model of one variable on a single counter model "C" (place X, action
// Bump), the way the study builds one before the run.
void BuildOnCounter(const NodeRecipe& recipe) {
  TestPVModel model(new CounterModel("C"), {recipe});
}

}  // namespace

// Each name the measured model lacks would make the variable read 0 all run; the set-up
// refuses it, naming the variable and the missing name.
TEST(PVModelSetUpErrors, ImpulseOnAnUnknownActionOrModelEndsWithStatusOne) {
  NodeRecipe unknownAction;
  unknownAction.Name = "Served";
  unknownAction.Impulses = {{"Serve", "C"}};
  EXPECT_EXIT(BuildOnCounter(unknownAction), ::testing::ExitedWithCode(1),
              "ERROR: Reward variable Served: impulse of action Serve of model C: the model has "
              "no action named Serve");

  NodeRecipe unknownModel;
  unknownModel.Name = "Served";
  unknownModel.Impulses = {{"Bump", "Queue"}};
  EXPECT_EXIT(BuildOnCounter(unknownModel), ::testing::ExitedWithCode(1),
              "ERROR: Reward variable Served: impulse of action Bump of model Queue: the model "
              "has no model named Queue");
}

TEST(PVModelSetUpErrors, RateRewardOnAnUnknownPlaceEndsWithStatusOne) {
  NodeRecipe recipe;
  recipe.Name = "Level";
  recipe.Variables = {{"Y", "C"}};
  EXPECT_EXIT(BuildOnCounter(recipe), ::testing::ExitedWithCode(1),
              "ERROR: Reward variable Level: rate reward reads place Y of model C: the model "
              "has no place named Y");
}

TEST(PVModelSetUpErrors, KnownNamesPassTheChecks) {
  NodeRecipe recipe;
  recipe.Variables = {{"X", "C"}};
  recipe.Impulses = {{"Bump", "C"}};
  TestPVModel model(new CounterModel("C"), {recipe});
  EXPECT_EQ(model.TotalNumAffectingActions, 1);
}
