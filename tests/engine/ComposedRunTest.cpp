// The engine over a composed model: the System join of ComposedTestModels.h, three cells
// sharing common with the pool's stock as one variable, store (5 tokens at the start).

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../framework/ComposedTestModels.h"
#include "SimulatorFixture.h"
#include "engine/ActionAffectsElement.h"

namespace {

std::vector<BaseActionClass*> Affects(BaseActionClass* action) {
  std::vector<BaseActionClass*> groups;
  ForEachAffectedGroup(action->Affects, [&groups](BaseActionClass* group) { groups.push_back(group); });
  return groups;
}

// The list an action's firing re-examines, as one list per action holds it: its own
// group, then the groups enabled by each variable it changes, in order and each once,
// reversed.
std::vector<BaseActionClass*> OneListPerAction(SimulatorClass* sim, BaseActionClass* action) {
  std::vector<BaseActionClass*> discovered{sim->GroupList[action->GroupID]};
  auto seen = [&discovered](BaseActionClass* g) {
    return std::find(discovered.begin(), discovered.end(), g) != discovered.end();
  };
  for (int s = 0; s < action->getNumAffectedSVs(); s++) {
    BaseStateVariableClass* sv = action->getAffectedSV(s);
    for (int e = 0; e < sv->getNumEnabledActions(); e++) {
      BaseActionClass* group = sim->GroupList[sv->getEnabledAction(e)->GroupID];
      if (!seen(group)) discovered.push_back(group);
    }
  }
  return std::vector<BaseActionClass*>(discovered.rbegin(), discovered.rend());
}

int NodesOf(BaseActionClass* action) {
  int nodes = 0;
  for (ActionAffectsElement* node = action->Affects; node != nullptr; node = node->next) nodes++;
  return nodes;
}

// System with 100 cells: the store is read by the pool's Drain and a hundred Gives.
class ManyCellsJoin : public JoinModel {
 public:
  ManyCellsJoin() {
    BaseModelClass* children[] = {MakeCells(kCells), new PoolSAN()};
    const JoinPlace store[] = {{1, "stock"}, {0, "common"}};
    const JoinSharedVariable shared[] = {{"store", 2, store}};
    initializeJoinModelNow("System", 2, children, 1, shared);
  }
  static constexpr int kCells = 100;
  CellSAN* cell(int i) { return static_cast<CellSAN*>(GetChild(0)->GetChild(i)); }
  PoolSAN* pool() { return static_cast<PoolSAN*>(GetChild(1)); }
};

int Tokens(SystemJoin& m) {
  int tokens = m.pool()->stock->getMark();
  for (int i = 0; i < 3; i++) tokens += m.cell(i)->own->getMark();
  return tokens;
}

}  // namespace

// store enables Drain (the pool's stock was absorbed first) and the three Gives, in copy
// order. Drain: own group, then Drain again, Give0, Give1, Give2 -> Give2, Give1, Give0,
// Drain. Cell 0's Take changes own (enables Take0 again) and store -> the same four, then
// its own group last.
TEST(ComposedConnectivity, AnActionOnASharedPlaceReachesTheReadersOfEveryInstance) {
  SimulatorOn<SystemJoin> system;
  SystemJoin& m = system.model();
  using Groups = std::vector<BaseActionClass*>;
  EXPECT_EQ(Affects(&m.pool()->Drain),
            (Groups{&m.cell(2)->Give, &m.cell(1)->Give, &m.cell(0)->Give, &m.pool()->Drain}));
  EXPECT_EQ(Affects(&m.cell(0)->Take), (Groups{&m.cell(2)->Give, &m.cell(1)->Give,
                                              &m.cell(0)->Give, &m.pool()->Drain, &m.cell(0)->Take}));
  // Cell 1's Give changes store first (Drain, Give0, Give1 again, Give2), then its own
  // place, which reaches its own Take only.
  EXPECT_EQ(Affects(&m.cell(1)->Give), (Groups{&m.cell(1)->Take, &m.cell(2)->Give,
                                              &m.cell(0)->Give, &m.pool()->Drain, &m.cell(1)->Give}));
}

// Tokens move between the cells and the store, and only Drain removes them. After every
// step each group has an event exactly while it is enabled: a group the connectivity
// list missed would keep a stale event or none.
TEST(ComposedConnectivity, EveryStepKeepsEventsInStepWithTheEnablingOfEveryInstance) {
  SimulatorOn<SystemJoin> system;
  SystemJoin& m = system.model();
  SimulatorClass* sim = system.Sim;
  system.StartBatch();
  int drained = 0;
  int given[3] = {0, 0, 0};
  for (int step = 0; step < 2000; step++) {
    BaseActionClass* fired = sim->CurrAction;
    bool more = sim->SimStep();
    if (fired == &m.pool()->Drain) drained++;
    for (int i = 0; i < 3; i++)
      if (fired == &m.cell(i)->Give) given[i]++;
    ASSERT_EQ(Tokens(m), 8 - drained);
    for (int g = 0; g < sim->TheGroupContainer->getNumItems(); g++) {
      BaseActionClass* group = sim->GroupList[g];
      ASSERT_EQ(group->EventPointer->event != nullptr, group->Enabled())
          << group->ActionName << " after step " << step;
    }
    if (!more) break;
  }
  // Every instance's readers of the store took part, and the pool's Drain too.
  EXPECT_GT(drained, 0);
  for (int i = 0; i < 3; i++) EXPECT_GT(given[i], 0) << "cell " << i;
}

// A batch restarts from the saved vector of the whole model: every instance's own place
// and the store come back, and the first firings are again the three Takes at time 1.
TEST(ComposedRestart, SavedStateRestartsEveryInstance) {
  SimulatorOn<SystemJoin> system;
  SystemJoin& m = system.model();
  SimulatorClass* sim = system.Sim;
  std::vector<char> initial(static_cast<size_t>(sim->TheModel->StateSize()));
  sim->TheModel->CurrentState(initial.data());
  system.StartBatch();
  for (int step = 0; step < 10; step++) sim->SimStep();
  ASSERT_NE(Tokens(m), 8);
  sim->TheModel->SetState(initial.data());
  EXPECT_EQ(m.pool()->stock->getMark(), 5);
  for (int i = 0; i < 3; i++) EXPECT_EQ(m.cell(i)->own->getMark(), 1);
  sim->TheEventList->ClearEventList();
  system.StartBatch();
  for (int take = 0; take < 3; take++) {
    EXPECT_EQ(sim->CurrentTime, 1.0);
    EXPECT_STREQ(sim->CurrAction->ActionName, "Take");
    sim->SimStep();
  }
  EXPECT_EQ(m.pool()->stock->getMark(), 8);
}

// Each action that changes the store would list the store's hundred readers: the lists of
// all of them would grow with the square of the number of cells. They point to one list
// of the readers instead, and each still re-examines exactly the groups, in the order,
// that a list of its own holds: a Give skips itself there, as it comes last in its own.
TEST(ComposedConnectivity, ManyReadersOfASharedPlaceAreListedOnceAndReachedInOrder) {
  SimulatorOn<ManyCellsJoin> system;
  ManyCellsJoin& m = system.model();
  BaseActionClass** actions = system.Sim->TheModel->getActionList();
  for (int a = 0; a < system.Sim->TheModel->getNumActions(); a++)
    ASSERT_EQ(Affects(actions[a]), OneListPerAction(system.Sim, actions[a])) << actions[a]->ActionName << " " << a;
  EXPECT_EQ(Affects(&m.cell(7)->Give).size(), static_cast<size_t>(ManyCellsJoin::kCells + 2));
  EXPECT_LE(NodesOf(&m.cell(7)->Give), 3);
  EXPECT_LE(NodesOf(&m.cell(7)->Take), 3);
  EXPECT_LE(NodesOf(&m.pool()->Drain), 2);
}

TEST(ComposedConnectivity, EveryStepKeepsEventsInStepWithManyReadersOfASharedPlace) {
  SimulatorOn<ManyCellsJoin> system;
  SimulatorClass* sim = system.Sim;
  system.StartBatch();
  int gives = 0;
  for (int step = 0; step < 3000; step++) {
    std::string fired = sim->CurrAction->ActionName;
    bool more = sim->SimStep();
    if (fired == "Give") gives++;
    for (int g = 0; g < sim->TheGroupContainer->getNumItems(); g++) {
      BaseActionClass* group = sim->GroupList[g];
      ASSERT_EQ(group->EventPointer->event != nullptr, group->Enabled())
          << group->ActionName << " after step " << step;
    }
    if (!more) break;
  }
  EXPECT_GT(gives, 0);
}
