#include "framework/PreselectGroup.h"

#include <gtest/gtest.h>

#include "GroupTestSupport.h"

namespace {
struct TwoMemberPreselect {
  TwoMemberPreselect() : a("A", true, 1, 1.0), b("B", true, 1, 1.0), group(2) {
    a.Delay = 1.5;
    b.Delay = 4.0;
    b.Reactivates = true;
    group.appendGroup(&a);
    group.appendGroup(&b);
  }
  StubActivity a, b;
  PreselectGroup group;
};
}  // namespace

TEST(PreselectChoice, ChoiceIsKeptUntilTheGroupFires) {
  TwoMemberPreselect g;
  // Weights 1 and 1: u = 0.75 -> r = 1.5 -> B; after the firing u = 0.1 -> r = 0.2 -> A.
  ScriptedDraws draws({0.75, 0.1});
  EXPECT_TRUE(g.group.NeedToReselect);
  EXPECT_TRUE(g.group.Enabled());
  EXPECT_FALSE(g.group.NeedToReselect);
  EXPECT_EQ(g.group.SelectedAction, &g.b);
  // B's timing and reactivation govern the group, and asking again draws nothing.
  EXPECT_DOUBLE_EQ(g.group.SampleDistribution(), 4.0);
  EXPECT_TRUE(g.group.ReactivationPredicate());
  EXPECT_EQ(g.group.Rank(), 1);
  EXPECT_TRUE(g.group.Enabled());
  EXPECT_EQ(draws.used(), 1u);

  EXPECT_EQ(g.group.Fire(), &g.b);
  EXPECT_EQ(g.b.FireCount, 1);
  EXPECT_TRUE(g.group.NeedToReselect);
  EXPECT_EQ(g.group.SelectedAction, &g.b);   // recorded until the next selection

  EXPECT_DOUBLE_EQ(g.group.SampleDistribution(), 1.5);
  EXPECT_EQ(g.group.SelectedAction, &g.a);
  EXPECT_FALSE(g.group.ReactivationFunction());
  EXPECT_EQ(draws.used(), 2u);
}

TEST(PreselectChoice, NoEnabledMemberLeavesTheGroupWaitingToSelect) {
  TwoMemberPreselect g;
  g.a.Predicate = false;
  g.b.Predicate = false;
  ScriptedDraws draws({0.3, 0.3, 0.3});
  EXPECT_FALSE(g.group.SelectAction());
  EXPECT_TRUE(g.group.NeedToReselect);
  EXPECT_FALSE(g.group.Enabled());   // tries again, still nothing
  EXPECT_TRUE(g.group.NeedToReselect);
  EXPECT_EQ(g.group.SelectedAction, nullptr);
  EXPECT_FALSE(g.group.ReactivationPredicate());   // tries once more
  EXPECT_EQ(draws.used(), 3u);
}

TEST(PreselectChoice, TimingOrFiringWithoutASelectionAborts) {
  TwoMemberPreselect g;
  g.a.Predicate = false;
  g.b.Predicate = false;
  ScriptedDraws draws({0.3, 0.3, 0.3, 0.3});
  EXPECT_DEATH(g.group.SampleDistribution(), "!! Assertion failed in file .*, line [0-9]+");
  EXPECT_DEATH(g.group.Rank(), "!! Assertion failed in file .*, line [0-9]+");
  EXPECT_DEATH(g.group.Fire(), "!! Assertion failed in file .*, line [0-9]+");
}
