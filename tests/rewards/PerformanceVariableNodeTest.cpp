#include "rewards/PerformanceVariableNode.h"

#include <gtest/gtest.h>

#include "RewardFixtures.h"
#include "framework/BaseActionClass.h"

using namespace rewardtest;

namespace {

// Wires a node to its measured model the way the reward model does.
void Wire(TestNode& node, BaseModelClass* model) {
  node.FixReferences(model);
  node.CreateModelGroupList();
  node.CreateWorkerList();
  node.FixWorkerList();
}

class NodeTest : public ::testing::Test {
 protected:
  void SetUp() override { PerformanceVariableNode::the_id = 0; }
  BaseActionClass NoAction;   // has no reward data, so it earns no impulse
};

using NodeWorkerGroups = NodeTest;
using NodeSetUp = NodeTest;
using NodeAccumulation = NodeTest;
using NodeReset = NodeTest;
using NodeDependencies = NodeTest;
using NodeImpulses = NodeTest;

TEST_F(NodeWorkerGroups, TwoByThreeInstancesGiveSixWorkersInMixedRadix) {
  CompositeModel whole("Whole");
  CounterModel* a[2] = {whole.Add("A"), whole.Add("A")};
  CounterModel* b[3] = {whole.Add("B"), whole.Add("B"), whole.Add("B")};
  NodeRecipe recipe;
  recipe.Models = {"A", "B"};
  TestNode node(recipe, 0);
  Wire(node, &whole);

  ASSERT_EQ(node.NumberOfWorkers, 6);
  // The first name is the most significant digit: worker w uses a[w / 3] and b[w % 3].
  for (int w = 0; w < 6; w++) {
    EXPECT_EQ(node.ModelList[w].ModelList[0], a[w / 3]) << "worker " << w;
    EXPECT_EQ(node.ModelList[w].ModelList[1], b[w % 3]) << "worker " << w;
  }
  // Worker 4 reads a[1] (X = 2) and b[1] (X = 20): reward 2 + 10 * 20 = 202.
  a[1]->X->setMark(2);
  b[1]->X->setMark(20);
  node.WorkerList[4]->CurrentReward();
  EXPECT_EQ(node.WorkerList[4]->Reward, 202.0);
}

// An action of b[1] changes the reward of the workers that read b[1]: with worker w
// reading a[w / 3] and b[w % 3], workers 1 and 4; an action of a[0], workers 0 to 2.
TEST_F(NodeWorkerGroups, ActionOfAnInstanceIsGivenTheWorkersReadingThatInstance) {
  CompositeModel whole("Whole");
  CounterModel* a[2] = {whole.Add("A"), whole.Add("A")};
  CounterModel* b[3] = {whole.Add("B"), whole.Add("B"), whole.Add("B")};
  NodeRecipe recipe;
  recipe.Models = {"A", "B"};
  TestNode node(recipe, 0);
  Wire(node, &whole);
  BaseActionClass ofB;
  BaseActionClass ofA;
  ofB.AllocatePVRateDS(1);
  ofA.AllocatePVRateDS(1);
  node.AddPVWorkersToAction(&ofB, b[1]);
  node.AddPVWorkersToAction(&ofA, a[0]);
  node.AddPVWorkersToAction(&ofA, a[0]);   // a second time adds nothing
  ofB.AffectedRateWorkers[0].NoMoreModifications();
  ofA.AffectedRateWorkers[0].NoMoreModifications();
  ASSERT_EQ(ofB.AffectedRateWorkers[0].size(), 2);
  EXPECT_EQ(ofB.AffectedRateWorkers[0][0], 1);
  EXPECT_EQ(ofB.AffectedRateWorkers[0][1], 4);
  ASSERT_EQ(ofA.AffectedRateWorkers[0].size(), 3);
  EXPECT_EQ(ofA.AffectedRateWorkers[0][2], 2);
}

TEST_F(NodeWorkerGroups, NodeWithoutModelNamesHasNoWorkersAndNoReward) {
  CounterModel model("C");
  NodeRecipe recipe;
  TestNode node(recipe, 0);
  Wire(node, &model);
  EXPECT_EQ(node.NumberOfWorkers, 0);
  node.Accumulate(1.0, 0.0, &NoAction);
  EXPECT_EQ(node.Accumulating, acc_done);
  EXPECT_EQ(node.TotalReward, 0.0);
}

TEST_F(NodeWorkerGroups, ModelNameWithoutInstancesEndsTheProcessWithStatusOne) {
  CompositeModel whole("Whole");
  whole.Add("A");
  NodeRecipe recipe;
  recipe.Models = {"A", "C"};
  TestNode node(recipe, 0);
  node.FixReferences(&whole);
  EXPECT_EXIT(node.CreateModelGroupList(), ::testing::ExitedWithCode(1),
              "^ERROR: reward variable V reads C, which this model does not have \\(an instance beyond a "
              "replicate's count\\?\\)\nNumber of C's was 0\\.  Model cannot be created\\.\nModel Name was: "
              "Whole\n\\.$");
}

// A model whose every submodel name finds the same instances, as many as asked for, so
// that a few of them make many combinations.
class ManyInstances : public CompositeModel {
 public:
  explicit ManyInstances(int perName) : CompositeModel("Many") {
    for (int i = 0; i < perName; i++) Add("Any");
  }
  void listModels(const char*, List<BaseModelClass>* models) override {
    for (CounterModel* child : Children) models->append(child);
  }
};

// 2048 instances of each of three submodels make 2^33 combinations, which no worker count
// holds: the variable is named instead of a wrapped count being used.
TEST_F(NodeWorkerGroups, MoreCombinationsOfInstancesThanACountHoldsEndTheRunNamingTheVariable) {
  ManyInstances many(2048);
  NodeRecipe recipe;
  recipe.Name = "Combos";
  recipe.Models = {"A", "B", "C"};
  TestNode node(recipe, 0);
  EXPECT_EXIT(node.FixReferences(&many), ::testing::ExitedWithCode(1),
              "ERROR: reward variable Combos: its submodels have more than 2147483647 combinations of "
              "instances \\(one worker each\\), more than a run can hold");
  ManyInstances fewer(100);
  TestNode fits(recipe, 0);
  fits.FixReferences(&fewer);
  EXPECT_EQ(fits.NumberOfWorkers, 100 * 100 * 100);
}

TEST_F(NodeWorkerGroups, MeasuredModelWithoutANameIsReportedAsNull) {
  CompositeModel whole(nullptr);
  NodeRecipe recipe;
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  node.FixReferences(&whole);
  EXPECT_EXIT(node.CreateModelGroupList(), ::testing::ExitedWithCode(1),
              "Model cannot be created\\.\nModel Name was: NULL\n$");
}

TEST_F(NodeWorkerGroups, FixWorkerListGivesEachWorkerTheWindowNameIdAndInstances) {
  CompositeModel whole("Whole");
  CounterModel* c[2] = {whole.Add("C"), whole.Add("C")};
  NodeRecipe recipe;
  recipe.Name = "Load";
  recipe.Starts = {3.0};
  recipe.Stops = {7.0};
  recipe.Models = {"C"};
  TestNode other(recipe, 0);   // takes id 0, so the node below has id 1
  TestNode node(recipe, 0);
  Wire(node, &whole);
  for (int w = 0; w < 2; w++) {
    MarkWorker* worker = static_cast<MarkWorker*>(node.WorkerList[w]);
    EXPECT_STREQ(worker->Name, "Load");
    EXPECT_EQ(worker->Number, w);
    EXPECT_EQ(worker->id, 1);
    EXPECT_EQ(worker->Start, 3.0);
    EXPECT_EQ(worker->Stop, 7.0);
    EXPECT_EQ(worker->Instances[0], c[w]);
  }
}

TEST_F(NodeWorkerGroups, DefineNameRenamesEveryWorker) {
  CompositeModel whole("Whole");
  whole.Add("C");
  whole.Add("C");
  NodeRecipe recipe;
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  Wire(node, &whole);
  node.DefineName("Renamed");
  EXPECT_STREQ(node.WorkerList[0]->Name, "Renamed");
  EXPECT_STREQ(node.WorkerList[1]->Name, "Renamed");
  EXPECT_EQ(node.WorkerList[1]->Number, 1);
}

TEST_F(NodeSetUp, InitializeTakesTheWindowOfItsTimePointAndTheNextId) {
  NodeRecipe recipe;
  recipe.Starts = {1.0, 2.0, 3.0};
  recipe.Stops = {4.0, 5.5, 6.0};
  TestNode first(recipe, 0);
  TestNode second(recipe, 1);
  EXPECT_EQ(first.id, 0);
  EXPECT_EQ(second.id, 1);
  EXPECT_EQ(second.Start, 2.0);
  EXPECT_EQ(second.Stop, 5.5);
  EXPECT_EQ(second.batchSize, 3.5);
  EXPECT_EQ(second.GetNumTimePoints(), 3);
  EXPECT_EQ(second.GetStartTime(2), 3.0);
  EXPECT_EQ(second.GetStopTime(0), 4.0);
  EXPECT_EQ(second.Type, terminating);
  EXPECT_EQ(second.Accumulating, acc_later);
}

TEST_F(NodeSetUp, ModelNamesAreKeptOnceAndVariablesAddTheirModel) {
  NodeRecipe recipe;
  recipe.Models = {"A", "A"};
  recipe.Variables = {{"X", "A"}, {"Y", "B"}};
  TestNode node(recipe, 0);
  ASSERT_EQ(node.NumberOfModelNames, 2);
  EXPECT_STREQ(node.ModelNamesList[0], "A");
  EXPECT_STREQ(node.ModelNamesList[1], "B");
  ASSERT_EQ(node.NumberOfVarNames, 2);
  EXPECT_STREQ(node.VarNamesList[1].VarName, "Y");
  EXPECT_STREQ(node.VarNamesList[1].ModelName, "B");
}

TEST_F(NodeSetUp, ImpulsesAreNumberedByPosition) {
  NodeRecipe recipe;
  recipe.Impulses = {{"Bump", "A"}, {"Bump", "B"}};
  TestNode node(recipe, 0);
  ASSERT_EQ(node.NumberOfImpulses, 2);
  EXPECT_EQ(node.GetImpulseNumber(node.ImpulseNodeList[1]), 1);
  CountingImpulse stray;
  EXPECT_EQ(node.GetImpulseNumber(&stray), -1);
  EXPECT_STREQ(node.ActionNamesList[1].ModelName, "B");
  EXPECT_STREQ(node.ActionNamesList[1].ActionName, "Bump");
  ASSERT_EQ(node.NumberOfImpulseModelNames[1], 1);
  EXPECT_STREQ(node.ImpulseModelNamesList[1][0], "B");
}

TEST_F(NodeSetUp, ImpulseDependencyOnAnUnknownImpulseEndsWithGP0001) {
  NodeRecipe recipe;
  recipe.Impulses = {{"Bump", "A"}};
  TestNode node(recipe, 0);
  CountingImpulse stray;
  EXPECT_EXIT(node.AddImpulseModelDependency("A", &stray), ::testing::ExitedWithCode(1),
              "^Model Dependency requested on undefined impulse\\.  Check code generator\\.  "
              "Error code GP0001\\.\n$");
}

TEST_F(NodeAccumulation, EachWorkerCountsItsOwnIntervalWithItsOwnWeight) {
  CompositeModel whole("Whole");
  CounterModel* c[2] = {whole.Add("C"), whole.Add("C")};
  c[0]->X->setMark(2);
  c[1]->X->setMark(4);
  NodeRecipe recipe;
  recipe.Reward = INTERVAL_OF_TIME;
  recipe.Starts = {0.0};
  recipe.Stops = {10.0};
  recipe.Models = {"C"};
  double fraction = 0.5;   // the first worker weighs 0.5, the second 0.25
  recipe.MakeWorker = [&fraction]() {
    PerformanceVariableWorker* worker = new IntervalWorker(fraction);
    fraction /= 2.0;
    return worker;
  };
  TestNode node(recipe, 0);
  Wire(node, &whole);
  FastSet second;
  second.insert(1);
  second.NoMoreModifications();

  // [0, 1): 1*2 weighted 0.5 and 1*4 weighted 0.25; squares 0.5*4 and 0.25*16.
  node.Accumulate(1.0, 0.0, &NoAction);
  EXPECT_EQ(node.TotalReward, 2.0);
  EXPECT_EQ(node.TotalRewardSqr, 6.0);
  EXPECT_EQ(node.Accumulating, acc_now);
  // Before a change of the second instance at 4, only its worker counts [1, 4): 3*4*0.25.
  node.AccumulateBeforeChange(4.0, second);
  EXPECT_EQ(node.TotalReward, 5.0);
  c[1]->X->setMark(0);
  // The batch ends at 10: the first worker counts [1, 10) at 2, the second [4, 10) at 0.
  node.EndAccumulate(10.0, 4.0, &NoAction);
  EXPECT_EQ(node.Accumulating, acc_done);
  EXPECT_EQ(node.TotalReward, 14.0);
}

TEST_F(NodeAccumulation, FiringAfterTheWindowCompletesTheWholeNode) {
  CompositeModel whole("Whole");
  CounterModel* c[2] = {whole.Add("C"), whole.Add("C")};
  c[0]->X->setMark(1);
  c[1]->X->setMark(3);
  NodeRecipe recipe;
  recipe.Reward = INTERVAL_OF_TIME;
  recipe.Starts = {2.0};
  recipe.Stops = {6.0};
  recipe.Models = {"C"};
  recipe.MakeWorker = []() { return new XWorker<IntervalOfTime>(); };
  TestNode node(recipe, 0);
  Wire(node, &whole);
  FastSet first;
  first.insert(0);
  first.NoMoreModifications();

  node.AccumulateBeforeChange(1.0, first);   // before the window: nothing yet
  EXPECT_EQ(node.Accumulating, acc_later);
  node.AccumulateBeforeChange(7.0, first);   // both workers over [2, 6]: 4*1 + 4*3
  EXPECT_EQ(node.Accumulating, acc_done);
  EXPECT_EQ(node.TotalReward, 16.0);
}

TEST_F(NodeAccumulation, SteadyStateBatchEndLeavesTheRestOfTheIntervalToTheNextBatch) {
  CounterModel c("C");
  c.X->setMark(3);
  NodeRecipe recipe;
  recipe.Reward = STEADY_STATE;
  recipe.Kind = steady_state;
  recipe.Starts = {0.0};
  recipe.Stops = {10.0};
  recipe.Models = {"C"};
  recipe.MakeWorker = []() { return new XWorker<SteadyState>(); };
  TestNode node(recipe, 0);
  Wire(node, &c);
  FastSet only;
  only.insert(0);
  only.NoMoreModifications();

  // The batch end is reached one unit past it, as the steady-state run does.
  node.Accumulate(11.0, 0.0, &NoAction);
  EXPECT_DOUBLE_EQ(node.TotalReward, 3.0);
  node.Reset();
  // [10, 14) at 3, then [14, 20) at 5, averaged over the window of 10.
  node.AccumulateBeforeChange(14.0, only);
  c.X->setMark(5);
  node.Accumulate(21.0, 14.0, &NoAction);
  EXPECT_EQ(node.Accumulating, acc_done);
  EXPECT_DOUBLE_EQ(node.TotalReward, 4.2);
}

TEST_F(NodeAccumulation, NothingAccumulatesBeforeTheWindowStarts) {
  CounterModel model("C");
  model.X->setMark(5);
  NodeRecipe recipe;
  recipe.Reward = INTERVAL_OF_TIME;
  recipe.Starts = {2.0};
  recipe.Stops = {4.0};
  recipe.Models = {"C"};
  recipe.MakeWorker = []() { return new IntervalWorker(1.0); };
  TestNode node(recipe, 0);
  Wire(node, &model);
  node.Accumulate(1.5, 0.0, &NoAction);
  EXPECT_EQ(node.Accumulating, acc_later);
  EXPECT_EQ(node.TotalReward, 0.0);
}

TEST_F(NodeAccumulation, EndAccumulateOnACompletedNodeChangesNothing) {
  CounterModel model("C");
  model.X->setMark(3);
  NodeRecipe recipe;
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  Wire(node, &model);
  node.EndAccumulate(5.0, 0.0, &NoAction);   // window [0, 0]: reads X = 3 and completes
  ASSERT_EQ(node.Accumulating, acc_done);
  ASSERT_EQ(node.TotalReward, 3.0);
  model.X->setMark(8);
  node.EndAccumulate(5.0, 0.0, &NoAction);
  node.Accumulate(6.0, 0.0, &NoAction);
  EXPECT_EQ(node.TotalReward, 3.0);
  EXPECT_EQ(node.TotalRewardSqr, 9.0);
}

TEST_F(NodeAccumulation, InstantRewardSumsWorkersBeforeSquaring) {
  CompositeModel whole("Whole");
  CounterModel* c[2] = {whole.Add("C"), whole.Add("C")};
  c[0]->X->setMark(1);
  c[1]->X->setMark(2);
  NodeRecipe recipe;
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  Wire(node, &whole);
  node.Accumulate(1.0, 0.0, &NoAction);
  // Workers read 1 and 2: the observation is 3 and its square (1 + 2)^2 = 9.
  EXPECT_EQ(node.TotalReward, 3.0);
  EXPECT_EQ(node.TotalRewardSqr, 9.0);
}

TEST_F(NodeReset, SteadyStateWindowSlidesByItsLength) {
  CounterModel model("C");
  NodeRecipe recipe;
  recipe.Kind = steady_state;
  recipe.Starts = {100.0};
  recipe.Stops = {200.0};
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  Wire(node, &model);
  node.Reset();
  EXPECT_EQ(node.Start, 200.0);
  EXPECT_EQ(node.Stop, 300.0);
  node.Reset();
  EXPECT_EQ(node.Start, 300.0);
  EXPECT_EQ(node.Stop, 400.0);
}

TEST_F(NodeReset, TerminatingWindowStaysAndEverythingElseIsCleared) {
  CounterModel model("C");
  model.X->setMark(4);
  NodeRecipe recipe;
  recipe.Starts = {100.0};
  recipe.Stops = {200.0};
  recipe.Models = {"C"};
  TestNode node(recipe, 0);
  Wire(node, &model);
  node.Accumulate(300.0, 0.0, &NoAction);
  ASSERT_EQ(node.TotalReward, 4.0);
  node.Reset();
  EXPECT_EQ(node.Start, 100.0);
  EXPECT_EQ(node.Stop, 200.0);
  EXPECT_EQ(node.Accumulating, acc_later);
  EXPECT_EQ(node.TotalReward, 0.0);
  EXPECT_EQ(node.TotalRewardSqr, 0.0);
  EXPECT_EQ(node.WorkerList[0]->Reward, 0.0);
  EXPECT_EQ(node.WorkerList[0]->RewardSqr, 0.0);
}

TEST_F(NodeDependencies, ActionNodesAreClearedOnceEveryNodeCollected) {
  BaseActionClass action;
  action.AffectedNodes.insert(0);
  action.AffectedNodes.insert(1);
  action.AffectedNodes.NoMoreModifications();
  NodeRecipe recipe;
  TestNode first(recipe, 0);
  TestNode second(recipe, 0);
  for (TestNode* node : {&first, &second}) {
    node->ActionDependencies = new BaseActionClass*[1]{&action};
    node->NumberOfActionDependencies = 1;
  }
  first.UpdateDependencies();
  EXPECT_EQ(action.TotalNumCollected, 1);
  EXPECT_EQ(action.AffectedNodes.size(), 2);
  second.UpdateDependencies();
  EXPECT_EQ(action.TotalNumCollected, 2);
  EXPECT_EQ(action.AffectedNodes.size(), 0);
}

TEST_F(NodeDependencies, SteadyStateNodesCollectNothing) {
  BaseActionClass action;
  action.AffectedNodes.insert(0);
  action.AffectedNodes.NoMoreModifications();
  NodeRecipe recipe;
  recipe.Kind = steady_state;
  TestNode node(recipe, 0);
  node.ActionDependencies = new BaseActionClass*[1]{&action};
  node.NumberOfActionDependencies = 1;
  node.UpdateDependencies();
  EXPECT_EQ(action.TotalNumCollected, 0);
  EXPECT_EQ(action.AffectedNodes.size(), 1);
}

// Wires the impulse part the way the reward model does.
void WireImpulses(TestNode& node, BaseModelClass* model) {
  Wire(node, model);
  node.CreateImpulseModelGroupList();
  node.CreateImpulseWorkerLists();
  node.FixImpulseWorkerLists();
}

TEST_F(NodeImpulses, EachInstanceOfTheEarningModelGetsAWorkerReadingThatInstance) {
  CompositeModel whole("Whole");
  CounterModel* a[2] = {whole.Add("A"), whole.Add("A")};
  NodeRecipe recipe;
  recipe.Starts = {1.0};
  recipe.Stops = {2.0};
  recipe.Impulses = {{"Bump", "A"}};
  TestNode node(recipe, 0);
  WireImpulses(node, &whole);
  ASSERT_EQ(node.NumberOfImpulseActions[0], 2);
  ASSERT_EQ(node.NumberOfImpulseWorkers[0], 2);
  for (int w = 0; w < 2; w++) {
    CountingImpulse* worker = static_cast<CountingImpulse*>(node.ImpulseWorkersList[0][w]);
    EXPECT_EQ(worker->ContainingModel, a[w]) << "worker " << w;
    EXPECT_EQ(worker->Instance, a[w]) << "worker " << w;
    EXPECT_EQ(worker->WorkerNumber, w);
    EXPECT_EQ(worker->ImpulseNumber, 0);
    EXPECT_EQ(worker->Start, 1.0);
    EXPECT_EQ(worker->Stop, 2.0);
    EXPECT_STREQ(worker->Name, "V");
  }
}

// With one impulse worker per instance, the worker ranges are computed past 2^31 (count
// times instance index) from some 46341 instances on: every instance still gets its own.
TEST_F(NodeImpulses, FiftyThousandInstancesEachGetTheirOwnWorker) {
  CompositeModel whole("Whole");
  const int kInstances = 50000;
  for (int i = 0; i < kInstances; i++) whole.Children.push_back(new CounterModel("A"));
  NodeRecipe recipe;
  recipe.Impulses = {{"Bump", "A"}};
  TestNode node(recipe, 0);
  WireImpulses(node, &whole);
  ASSERT_EQ(node.NumberOfImpulseWorkers[0], kInstances);
  int wrong = 0;
  for (int w = 0; w < kInstances; w++) {
    CountingImpulse* worker = static_cast<CountingImpulse*>(node.ImpulseWorkersList[0][w]);
    if (worker->ContainingModel != whole.Children[w] || worker->Instance != whole.Children[w]) wrong++;
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(NodeImpulses, InstanceIndexStaysAtTheLastInstanceInsteadOfPassingTheEnd) {
  CompositeModel whole("Whole");
  CounterModel* a[2] = {whole.Add("A"), whole.Add("A")};
  CounterModel* b = whole.Add("B");
  NodeRecipe recipe;
  recipe.Impulses = {{"Bump", "A"}};
  recipe.ImpulseModels = {"B"};
  TestNode node(recipe, 0);
  WireImpulses(node, &whole);
  // Two workers (2 instances of A times 1 of B); B's index would advance at both workers,
  // past its single instance, and stays there.
  ASSERT_EQ(node.NumberOfImpulseWorkers[0], 2);
  for (int w = 0; w < 2; w++) {
    EXPECT_EQ(node.ImpulseModelList[0][w].ModelList[0], a[w]);
    EXPECT_EQ(node.ImpulseModelList[0][w].ModelList[1], b);
    EXPECT_EQ(static_cast<CountingImpulse*>(node.ImpulseWorkersList[0][w])->Other, b);
  }
}

TEST_F(NodeImpulses, CompletionAddsEveryImpulseToTheObservation) {
  CompositeModel whole("Whole");
  whole.Add("A");
  whole.Add("A");
  NodeRecipe recipe;
  recipe.Impulses = {{"Bump", "A"}};
  TestNode node(recipe, 0);
  WireImpulses(node, &whole);
  node.ImpulseWorkersList[0][0]->Impulse = 2.0;
  node.ImpulseWorkersList[0][1]->Impulse = 3.0;
  node.EndAccumulate(0.0, 0.0, &NoAction);
  // Impulses 2 and 3: TotalImpulse 5 and TotalImpulseSqr 4 + 9 = 13, both added.
  EXPECT_EQ(node.TotalImpulse, 5.0);
  EXPECT_EQ(node.TotalImpulseSqr, 13.0);
  EXPECT_EQ(node.TotalReward, 5.0);
  EXPECT_EQ(node.TotalRewardSqr, 13.0);
  EXPECT_EQ(static_cast<CountingImpulse*>(node.ImpulseWorkersList[0][1])->Completed, 1);
  node.Reset();
  EXPECT_EQ(node.ImpulseWorkersList[0][1]->Impulse, 0.0);
}

}  // namespace
