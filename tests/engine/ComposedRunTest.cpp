// The engine over a composed model: the System join of ComposedTestModels.h, three cells
// sharing common with the pool's stock as one variable, store (5 tokens at the start).

#include <gtest/gtest.h>

#include <vector>

#include "../framework/ComposedTestModels.h"
#include "SimulatorFixture.h"
#include "engine/ActionAffectsElement.h"

namespace {

std::vector<BaseActionClass*> Affects(BaseActionClass* action) {
  std::vector<BaseActionClass*> groups;
  for (ActionAffectsElement* node = action->Affects; node != nullptr; node = node->next)
    groups.push_back(node->Action);
  return groups;
}

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
