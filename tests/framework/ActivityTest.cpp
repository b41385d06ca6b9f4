#include "framework/san/Activity.h"

#include <gtest/gtest.h>

#include "GroupTestSupport.h"

TEST(ActivityDefaults, AnActivityIsAGroupThatSelectsItself) {
  StubActivity a("A");
  EXPECT_EQ(a.SelectedAction, &a);
  EXPECT_EQ(a.getNumMembers(), 0);
  EXPECT_TRUE(a.Disabled);
  EXPECT_FALSE(a.Reactivation);
  EXPECT_FALSE(a.NewEnabled);
  EXPECT_FALSE(a.OldEnabled);
  EXPECT_EQ(a.TheDistributionParameters, nullptr);
  EXPECT_EQ(a.getPrintedAction(), &a);
}

TEST(ActivitySelection, SelectingAnswersWithTheActivitysOwnEnabling) {
  StubActivity a("A", false);
  EXPECT_FALSE(a.SelectAction());
  a.Predicate = true;
  EXPECT_TRUE(a.SelectAction());
  EXPECT_EQ(a.SelectedAction, &a);
}

TEST(ActivityEnablingChange, PredicateThatStaysTrueIsNoChange) {
  StubActivity a("A", true);
  EXPECT_TRUE(a.EnablingChange());    // false (initial) -> true
  EXPECT_FALSE(a.EnablingChange());   // true -> true
  a.Predicate = false;
  EXPECT_TRUE(a.EnablingChange());    // true -> false
  EXPECT_EQ(a.EnabledCalls, 3);       // one evaluation per question
}

TEST(ActivityProbability, OnlyTheActivityItselfIsEverSelected) {
  StubActivity a("A"), b("B");
  EXPECT_DOUBLE_EQ(a.Probability(&a), 1.0);
  EXPECT_DOUBLE_EQ(a.Probability(&b), 0.0);
}
