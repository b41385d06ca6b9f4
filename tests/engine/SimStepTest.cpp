#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "SimulatorFixture.h"
#include "TestModels.h"

namespace {

Event* EventOf(BaseActionClass& group) {
  return group.EventPointer->event == nullptr ? nullptr : *group.EventPointer->event;
}

// Runs steps until none is left, recording "name@time" for every firing.
std::vector<std::string> RunToTheEnd(SimulatorClass* sim) {
  std::vector<std::string> fired;
  bool more = true;
  while (more) {
    std::string firing = std::string(sim->CurrAction->ActionName) + "@";
    double time = sim->CurrentTime;
    more = sim->SimStep();
    fired.push_back(firing + std::to_string(time).substr(0, 3));
  }
  return fired;
}

}  // namespace

// Gate 1 and Count 0: Tick and Slow are enabled, Close is not.
TEST(SimStepStart, InitiallyEnabledGroupsAreScheduledFromTimeZeroInGroupOrder) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  RaceSAN& m = race.model();
  ASSERT_EQ(race.Sim->NumInitiallyEnabled, 2);
  EXPECT_EQ(race.Sim->InitiallyEnabled[0], &m.Tick);
  EXPECT_EQ(race.Sim->InitiallyEnabled[1], &m.Slow);
  ASSERT_NE(EventOf(m.Tick), nullptr);
  EXPECT_EQ(EventOf(m.Tick)->exec_time, 1.0);
  EXPECT_EQ(EventOf(m.Slow)->exec_time, 10.0);
  EXPECT_EQ(EventOf(m.Close), nullptr);
  EXPECT_EQ(race.Sim->CurrAction, &m.Tick);
  EXPECT_EQ(race.Sim->CurrentTime, 1.0);
}

TEST(SimStepStart, InitiallyEnabledGroupDisabledBeforeTheBatchIsAnInternalError) {
  SimulatorOn<RaceSAN> race;
  race.Sim->GenerateInitialEnabledList();
  race.model().Gate->setMark(0);
  // The file and line, then the condition that failed on a line of its own.
  EXPECT_DEATH(race.Sim->GenerateCompleteEventList(),
               "!! Assertion failed in file .*SimStep\\.cpp, line [0-9]+\n!! Condition: enabled\n");
}

// The step asks each affected group its enabling once: Slow, which keeps its event, in the
// test for a change; Tick, which fired and has no event, before it is drawn again.
TEST(SimStepRace, EachAffectedGroupIsAskedItsEnablingOncePerFiring) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  RaceSAN& m = race.model();
  int slowBefore = m.Slow.EnablingAsked;
  int tickBefore = m.Tick.EnablingAsked;
  ASSERT_TRUE(race.Sim->SimStep());
  EXPECT_EQ(m.Slow.EnablingAsked - slowBefore, 1);
  EXPECT_EQ(m.Tick.EnablingAsked - tickBefore, 1);
  EXPECT_EQ(EventOf(m.Slow)->exec_time, 10.0);
}

// Tick fires at 1 and changes Count, which Slow reads; Slow stays enabled and keeps the
// completion 10 it drew at 0, while Tick is drawn again: 1 + 1 = 2.
TEST(SimStepRace, GroupThatStaysEnabledKeepsItsCompletionTime) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  RaceSAN& m = race.model();
  ASSERT_TRUE(race.Sim->SimStep());
  EXPECT_EQ(m.Count->getMark(), 1);
  EXPECT_EQ(EventOf(m.Slow)->exec_time, 10.0);
  EXPECT_EQ(EventOf(m.Slow)->start_time, 0.0);
  EXPECT_EQ(EventOf(m.Tick)->start_time, 1.0);
  EXPECT_EQ(EventOf(m.Tick)->exec_time, 2.0);
  EXPECT_EQ(race.Sim->TempAction, &m.Tick);
  EXPECT_EQ(race.Sim->CurrentTime, 2.0);
  EXPECT_EQ(race.Sim->TheEventList->IsValid(), 0);
}

// Count reaches 3 at the third tick, enabling Close (3 + 0.5). Close shuts the gate: Tick
// (due at 4) and Slow (due at 10) lose their events, nothing is left, and the clock stays
// at the last firing.
TEST(SimStepRace, RunEndsWhenTheGateClosesWithDisabledGroupsUnscheduled) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  RaceSAN& m = race.model();
  EXPECT_EQ(RunToTheEnd(race.Sim),
            (std::vector<std::string>{"Tick@1.0", "Tick@2.0", "Tick@3.0", "Close@3.5"}));
  EXPECT_EQ(race.Sim->CurrentTime, 3.5);
  EXPECT_EQ(race.Sim->_fireActionCount, 4);
  EXPECT_EQ(EventOf(m.Tick), nullptr);
  EXPECT_EQ(EventOf(m.Slow), nullptr);
  EXPECT_EQ(EventOf(m.Close), nullptr);
  EXPECT_EQ(race.Sim->TheEventList->getSize(), 0);
  EXPECT_EQ(race.Sim->NextEvent, nullptr);
}

TEST(SimStepRace, DiagnosticLevelAnnouncesTheUpdateAfterTheFiring) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  GlobalDebugLevel = 1;
  testing::internal::CaptureStdout();
  race.Sim->SimStep();
  std::string out = testing::internal::GetCapturedStdout();
  GlobalDebugLevel = 0;
  EXPECT_NE(out.find("** Starting to look at the other actions that are affected by the firing\n"),
            std::string::npos);
}

TEST(SimStepRace, StepsAllocateNothingWithoutReactivation) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  long before = AllocationCount();
  int steps = 0;
  while (race.Sim->SimStep()) steps++;
  EXPECT_EQ(AllocationCount(), before);
  EXPECT_EQ(steps, 3);
}

TEST(SimStepFailure, InvalidDelayAtBatchStartEndsTheProcessNamingTheGroup) {
  SimulatorOn<RaceSAN> race;
  race.model().Slow.Delay = -2;
  EXPECT_EXIT(race.StartBatch(), ::testing::ExitedWithCode(1),
              "FATAL ERROR: In action Slow, value is non-positive");
}

TEST(SimStepFailure, InvalidDelayWhenTheFiredGroupIsRescheduledEndsTheProcess) {
  SimulatorOn<RaceSAN> race;
  race.StartBatch();
  race.model().Tick.Delay = 0;
  EXPECT_EXIT(race.Sim->SimStep(), ::testing::ExitedWithCode(1),
              "FATAL ERROR: In action Tick, value is non-positive");
}

// A delay the activity computes itself, bypassing the distributions' checks, would put the
// event before the clock or never let it come; the engine refuses it as a fatal error.
TEST(SimStepFailure, NegativeOrNonFiniteComputedDelayEndsTheProcess) {
  const double delays[] = {-0.25, std::nan(""), HUGE_VAL};
  for (double delay : delays) {
    SimulatorOn<RaceSAN> race;
    race.model().Slow.Computed = true;
    race.model().Slow.Delay = delay;
    EXPECT_EXIT(race.StartBatch(), ::testing::ExitedWithCode(1),
                "FATAL ERROR: In action Slow, delay .* is negative or not finite")
        << delay;
  }
}

TEST(SimStepFailure, ComputedZeroDelayIsLegal) {
  SimulatorOn<RaceSAN> race;
  race.model().Tick.Computed = true;
  race.model().Tick.Delay = 0;
  race.StartBatch();
  EXPECT_EQ(race.Sim->CurrentTime, 0.0);
  EXPECT_EQ(race.Sim->CurrAction, &race.model().Tick);
}

// Scheduling order Bump, Watch, Other, Close; Watch and Other ask to be watched and each
// goes to the front: Other, Watch.
TEST(SimStepReactivation, ScheduledGroupsThatAskToBeWatchedEnterAtTheFront) {
  SimulatorOn<WatchSAN> watch;
  watch.StartBatch();
  WatchSAN& m = watch.model();
  std::list<BaseActionClass*>& list = watch.Sim->TheReactivationList;
  EXPECT_EQ(list, (std::list<BaseActionClass*>{&m.Other, &m.Watch}));
  EXPECT_TRUE(m.Watch.Reactivation);
  EXPECT_FALSE(m.Bump.Reactivation);
  EXPECT_TRUE(m.Bump.EventPointer->isReactNull());
  ASSERT_FALSE(m.Watch.EventPointer->isReactNull());
  EXPECT_EQ(*m.Watch.EventPointer->getReact(), &m.Watch);
  EXPECT_EQ(m.Other.EventPointer->getReact(), list.begin());
}

// Bump fires at 1 and Level becomes 1: Watch's reactivation function holds, so it is drawn
// again from the current time (1 + 5 = 6, not its first completion 5) and, still below its
// limit 2, re-enters at the front of the list. The resampling needs no new list node.
TEST(SimStepReactivation, ResampledGroupRestartsAtTheCurrentTimeAndMovesToTheFront) {
  SimulatorOn<WatchSAN> watch;
  watch.StartBatch();
  WatchSAN& m = watch.model();
  long before = AllocationCount();
  ASSERT_TRUE(watch.Sim->SimStep());
  EXPECT_EQ(AllocationCount(), before);
  EXPECT_EQ(EventOf(m.Watch)->exec_time, 6.0);
  EXPECT_EQ(EventOf(m.Watch)->start_time, 1.0);
  EXPECT_EQ(EventOf(m.Other)->exec_time, 20.0);
  std::list<BaseActionClass*>& list = watch.Sim->TheReactivationList;
  EXPECT_EQ(list, (std::list<BaseActionClass*>{&m.Watch, &m.Other}));
  EXPECT_EQ(m.Watch.EventPointer->getReact(), list.begin());
  EXPECT_EQ(*m.Other.EventPointer->getReact(), &m.Other);
  EXPECT_TRUE(m.Watch.Reactivation);
  EXPECT_EQ(watch.Sim->TheEventList->IsValid(), 0);
}

TEST(SimStepReactivation, ResampledGroupLeavesTheListWhenItNoLongerAsksToBeWatched) {
  SimulatorOn<WatchSAN> watch;
  watch.StartBatch();
  WatchSAN& m = watch.model();
  m.Watch.WatchLimit = 1;   // Level 1 after the first firing is no longer below it
  ASSERT_TRUE(watch.Sim->SimStep());
  EXPECT_EQ(EventOf(m.Watch)->exec_time, 6.0);
  EXPECT_EQ(watch.Sim->TheReactivationList, (std::list<BaseActionClass*>{&m.Other}));
  EXPECT_FALSE(m.Watch.Reactivation);
  EXPECT_TRUE(m.Watch.EventPointer->isReactNull());
}

TEST(SimStepReactivation, WatchedGroupThatBecomesDisabledLosesItsEventInTheListWalk) {
  SimulatorOn<WatchSAN> watch;
  watch.StartBatch();
  WatchSAN& m = watch.model();
  m.Gate->setMark(0);
  watch.Sim->CheckReactivationList();
  EXPECT_TRUE(watch.Sim->TheReactivationList.empty());
  EXPECT_EQ(EventOf(m.Watch), nullptr);
  EXPECT_EQ(EventOf(m.Other), nullptr);
  EXPECT_FALSE(m.Watch.Reactivation);
  EXPECT_TRUE(m.Other.EventPointer->isReactNull());
  EXPECT_NE(EventOf(m.Bump), nullptr);   // not watched: left to the connectivity list
  EXPECT_EQ(watch.Sim->TheEventList->IsValid(), 0);
}

// Bump at 1 and 2, Close at 2.5 shuts the gate; Watch (due at 6) and Other (due at 20)
// never fire and leave the list with their events.
TEST(SimStepReactivation, RunEndsWithTheListEmptied) {
  SimulatorOn<WatchSAN> watch;
  watch.StartBatch();
  WatchSAN& m = watch.model();
  EXPECT_EQ(RunToTheEnd(watch.Sim),
            (std::vector<std::string>{"Bump@1.0", "Bump@2.0", "Close@2.5"}));
  EXPECT_TRUE(watch.Sim->TheReactivationList.empty());
  EXPECT_EQ(EventOf(m.Watch), nullptr);
  EXPECT_EQ(watch.Sim->TheEventList->getSize(), 0);
  EXPECT_EQ(watch.Sim->CurrentTime, 2.5);
}

// Bump fires at 1 and Level becomes 1. The list walk resamples Near (its second draw) and
// keeps it watched; Bump's connectivity list then reaches Near, whose enabling did not
// change and whose reactivation function still holds, but which was resampled in this very
// step: it keeps that draw, 1 + 5 = 6, and ends watched at the front.
TEST(SimStepReactivation, WatchedGroupReachedByTheFiringIsDrawnOnceInTheStep) {
  SimulatorOn<NearSAN> near;
  near.StartBatch();
  NearSAN& m = near.model();
  ASSERT_EQ(m.Near.Draws, 1);
  ASSERT_TRUE(near.Sim->SimStep());
  EXPECT_EQ(m.Near.Draws, 2);
  EXPECT_EQ(EventOf(m.Near)->exec_time, 6.0);
  EXPECT_EQ(EventOf(m.Near)->start_time, 1.0);
  EXPECT_EQ(near.Sim->TheReactivationList, (std::list<BaseActionClass*>{&m.Near}));
  EXPECT_EQ(m.Near.EventPointer->getReact(), near.Sim->TheReactivationList.begin());
  EXPECT_TRUE(m.Near.Reactivation);
}
