#include "framework/composed/JoinModel.h"

#include <gtest/gtest.h>

#include <forward_list>
#include <memory>
#include <sstream>
#include <string>

#include "ComposedTestModels.h"

TEST(JoinModelSharing, JoinedPlacesOfDifferentNamesAreOneValue) {
  SystemJoin system;
  EXPECT_EQ(system.GetModelType(), BaseModelClass::JoinModel);
  // The pool is listed first: its stock of 5 is the value kept, not the cells' 2.
  EXPECT_EQ(system.pool()->stock->getMark(), 5);
  EXPECT_EQ(system.cell(2)->common->getMark(), 5);
  system.cell(0)->Take.Fire();
  EXPECT_EQ(system.pool()->stock->getMark(), 6);
  system.pool()->Drain.Fire();
  EXPECT_EQ(system.cell(1)->common->getMark(), 5);
}

// The join's variable absorbs the replicated model's, which then holds nothing; the
// actions of both children are recorded against the join's variable.
TEST(JoinModelSharing, OutermostVariableHoldsTheValueAndTheActions) {
  SystemJoin system;
  BaseStateVariableClass* store = system.GetSharedStateVariables()[0];
  BaseStateVariableClass* common = system.cells()->GetSharedStateVariables()[0];
  EXPECT_TRUE(store->getStored());
  EXPECT_FALSE(common->getStored());
  EXPECT_TRUE(common->getShared());
  EXPECT_TRUE(store->getEnabledActions()->contains(&system.pool()->Drain));
  EXPECT_TRUE(store->getEnabledActions()->contains(&system.cell(2)->Give));
  EXPECT_TRUE(system.cell(2)->Take.AffectedStateVariables.contains(store));
  EXPECT_TRUE(system.pool()->Drain.AffectedStateVariables.contains(store));
}

// Layout: store (2 bytes, held by the join), then Cells (its common is no longer held, so
// only the three own places), then Pool (its only place is shared: nothing).
TEST(JoinModelStateVector, JoinValueThenEachChildsVector) {
  SystemJoin system;
  ASSERT_EQ(system.StateSize(), 8);
  EXPECT_EQ(system.cells()->StateSize(), 6);
  EXPECT_EQ(system.pool()->StateSize(), 0);
  system.cell(1)->own->Mark() = 0;
  short saved[4];
  system.CurrentState(saved);
  EXPECT_EQ(saved[0], 5);
  EXPECT_EQ(saved[1], 1);
  EXPECT_EQ(saved[2], 0);
  EXPECT_EQ(saved[3], 1);
  system.cell(2)->Take.Fire();
  system.SetState(saved);
  EXPECT_EQ(system.pool()->stock->getMark(), 5);
  EXPECT_EQ(system.cell(2)->own->getMark(), 1);
}

TEST(JoinModelStructure, GroupIndicesRunOverBothChildrenInOrder) {
  SystemJoin system;
  ASSERT_EQ(system.getNumGroups(), 7);
  EXPECT_EQ(system.cell(2)->Give.getGroupId(), 5);
  EXPECT_EQ(system.pool()->Drain.getGroupId(), 6);
  for (int a = 0; a < system.getNumActions(); a++) {
    BaseActionClass* action = system.getActionList()[a];
    EXPECT_EQ(system.getGroupList()[action->getGroupId()], action);
  }
}

// Every action of the cells touches the store, which the join holds, so all six are
// global to the replicated model; within the join, which holds every value, none is.
TEST(JoinModelStructure, GlobalActionsTouchAValueHeldOutsideTheModel) {
  SystemJoin system;
  std::forward_list<BaseActionClass*> global;
  system.cells()->GetGlobalActions(global);
  EXPECT_EQ(std::distance(global.begin(), global.end()), 6);
  std::forward_list<BaseActionClass*> none;
  system.GetGlobalActions(none);
  EXPECT_TRUE(none.empty());
  std::forward_list<BaseActionClass*> local;
  system.GetLocalActions(local);
  EXPECT_EQ(std::distance(local.begin(), local.end()), 7);
  EXPECT_EQ(local.front(), &system.cell(0)->Take);
}

TEST(JoinModelNames, NestedModelsAreRenamedUnderTheJoin) {
  SystemJoin system;
  EXPECT_STREQ(system.cell(1)->own->getFullyQualifiedName(), "System.Cells.Cell[1].own");
  EXPECT_STREQ(system.pool()->stock->getFullyQualifiedName(), "System.Pool.stock");
  EXPECT_STREQ(system.GetSharedStateVariables()[0]->getFullyQualifiedName(), "System.store");
  EXPECT_STREQ(system.cells()->GetSharedStateVariables()[0]->getFullyQualifiedName(),
               "System.Cells.common");
  EXPECT_EQ(system.findInstance("System.Cells.Cell[2]"), system.cell(2));
  EXPECT_EQ(system.findInstance("System.Pool"), system.pool());
  EXPECT_EQ(system.findInstance("System.Cells.Cell[2].own"), nullptr);
  List<BaseStateVariableClass> variables;
  List<BaseModelClass> models;
  system.listSVs("System.Cells", "common", &variables, &models);
  ASSERT_EQ(variables.getNumItems(), 1);
  EXPECT_EQ(models[0], system.cells());
}

namespace {

// Two pools joined on their stocks: one model name twice.
class TwoPools : public JoinModel {
 public:
  TwoPools() {
    BaseModelClass* children[] = {new PoolSAN(), new PoolSAN()};
    const JoinPlace stocks[] = {{0, "stock"}, {1, "stock"}};
    const JoinSharedVariable shared[] = {{"stock", 2, stocks}};
    initializeJoinModelNow("Pools", 2, children, 1, shared);
  }
};

// A join described by the test, for the faults.
class DescribedJoin : public JoinModel {
 public:
  DescribedJoin(int numShared, const JoinSharedVariable* shared) {
    BaseModelClass* children[] = {new PoolSAN(), new CellSAN()};
    initializeJoinModelNow("Faulty", 2, children, numShared, shared);
  }
};

}  // namespace

TEST(JoinModelNames, ChildrenOfOneNameAreNumbered) {
  TwoPools pools;
  EXPECT_STREQ(static_cast<PoolSAN*>(pools.GetChild(1))->stock->getFullyQualifiedName(),
               "Pools.Pool[1].stock");
  List<BaseModelClass> both;
  pools.listModels("Pool", &both);
  EXPECT_EQ(both.getNumItems(), 2);
  List<BaseActionClass> second;
  pools.listActions("Pools.Pool[1].Drain", &second);
  ASSERT_EQ(second.getNumItems(), 1);
  EXPECT_EQ(second[0], &static_cast<PoolSAN*>(pools.GetChild(1))->Drain);
}

TEST(JoinModelFaults, PlaceJoinedTwiceEndsTheRunWithAMessage) {
  const JoinPlace first[] = {{0, "stock"}, {1, "own"}};
  const JoinPlace second[] = {{0, "stock"}, {1, "common"}};
  const JoinSharedVariable shared[] = {{"a", 2, first}, {"b", 2, second}};
  EXPECT_EXIT(DescribedJoin(2, shared), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Faulty: Pool.stock is shared twice \\(shared variable b\\)");
}

TEST(JoinModelFaults, UnknownPlaceEndsTheRunWithAMessage) {
  const JoinPlace places[] = {{0, "stock"}, {1, "none"}};
  const JoinSharedVariable shared[] = {{"a", 2, places}};
  EXPECT_EXIT(DescribedJoin(1, shared), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Faulty: child Cell has no place named none \\(shared variable a\\)");
}

TEST(JoinModelFaults, SingleOrSameChildPlacesEndTheRunWithAMessage) {
  const JoinPlace lonely[] = {{0, "stock"}};
  const JoinSharedVariable one[] = {{"a", 1, lonely}};
  EXPECT_EXIT(DescribedJoin(1, one), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Faulty: shared variable a joins fewer than two places");
  const JoinPlace sameChild[] = {{1, "own"}, {1, "common"}};
  const JoinSharedVariable same[] = {{"a", 2, sameChild}};
  EXPECT_EXIT(DescribedJoin(1, same), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Faulty: shared variable a joins two places of child Cell");
  const JoinPlace outside[] = {{0, "stock"}, {2, "own"}};
  const JoinSharedVariable far[] = {{"a", 2, outside}};
  EXPECT_EXIT(DescribedJoin(1, far), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Faulty: shared variable a names child 2, and the join has 2");
}

// The model's own shared variables under its header line, then each child's state.
TEST(JoinModelStructure, PrintStateShowsTheSharedVariablesThenTheChildren) {
  TwoPools pools;
  std::ostringstream out;
  pools.printState(&out);
  std::string id0 = std::to_string(pools.GetChild(0)->getId());
  std::string id1 = std::to_string(pools.GetChild(1)->getId());
  EXPECT_EQ(out.str(), "Model: (" + std::to_string(pools.getId()) + ")Pools\n  stock = 5\n" +
                           "Model: (" + id0 + ")Pool\n  stock = 5\nModel: (" + id1 +
                           ")Pool\n  stock = 5\n");
}
