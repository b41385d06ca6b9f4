#include "framework/BaseGroupClass.h"

#include <gtest/gtest.h>

#include "GroupTestSupport.h"
#include "framework/PostselectGroup.h"
#include "framework/PreselectGroup.h"

namespace {
// A plain group over the given members, as a generated model assembles one.
struct Group {
  explicit Group(std::initializer_list<BaseGroupClass*> members) {
    group.initialize(1, "G");
    for (BaseGroupClass* m : members) group.appendGroup(m);
  }
  BaseGroupClass group;
};
}  // namespace

TEST(GroupWeights, EqualRanksAccumulateInMemberOrder) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  Group g({&a, &b});
  EXPECT_DOUBLE_EQ(g.group.CalculateWeightDistribution(), 4.0);
  ASSERT_EQ(g.group.NumSelectableActions, 2);
  EXPECT_DOUBLE_EQ(g.group.ActionWeights[0].Weight, 1.0);
  EXPECT_EQ(g.group.ActionWeights[0].AssociatedAction, &a);
  EXPECT_DOUBLE_EQ(g.group.ActionWeights[1].Weight, 4.0);
  EXPECT_EQ(g.group.ActionWeights[1].AssociatedAction, &b);
  EXPECT_FALSE(a.Disabled);
  EXPECT_FALSE(b.Disabled);
}

TEST(GroupWeights, OnlyTheHighestRankedEnabledMembersAreSelectable) {
  StubActivity a("A", true, 1, 5.0), b("B", true, 2, 1.0), c("C", true, 2, 2.0);
  StubActivity low("low", true, 0, 9.0), off("off", false, 3, 9.0);
  Group g({&off, &a, &b, &low, &c});
  // off is skipped (disabled); a starts the table at rank 1; b restarts it at rank 2;
  // low (rank 0) is left out; c joins b: 1 + 2 = 3.
  EXPECT_DOUBLE_EQ(g.group.CalculateWeightDistribution(), 3.0);
  EXPECT_EQ(g.group.HighestRank, 2);
  ASSERT_EQ(g.group.NumSelectableActions, 2);
  EXPECT_EQ(g.group.ActionWeights[0].AssociatedAction, &b);
  EXPECT_DOUBLE_EQ(g.group.ActionWeights[0].Weight, 1.0);
  EXPECT_EQ(g.group.ActionWeights[1].AssociatedAction, &c);
  EXPECT_DOUBLE_EQ(g.group.ActionWeights[1].Weight, 3.0);
  EXPECT_TRUE(off.Disabled);
  EXPECT_TRUE(low.Disabled);
  EXPECT_FALSE(a.Disabled);   // accepted before the higher rank appeared
  EXPECT_FALSE(b.Disabled);
  EXPECT_FALSE(c.Disabled);
}

TEST(GroupWeights, NoEnabledMemberGivesMinusOne) {
  StubActivity a("A", false), b("B", false);
  Group g({&a, &b});
  EXPECT_DOUBLE_EQ(g.group.CalculateWeightDistribution(), -1.0);
  EXPECT_TRUE(a.Disabled);
  EXPECT_TRUE(b.Disabled);
}

TEST(GroupSelection, DrawBelowTheFirstBoundarySelectsTheFirstMember) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  Group g({&a, &b});
  ScriptedDraws draws({0.2});   // r = 0.2 x 4 = 0.8 < 1
  EXPECT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &a);
  EXPECT_EQ(draws.used(), 1u);
}

TEST(GroupSelection, DrawExactlyOnABoundaryPassesToTheNextMember) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  Group g({&a, &b});
  ScriptedDraws draws({0.25});   // r = 0.25 x 4 = 1.0, equal to A's cumulative weight
  EXPECT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &b);
}

TEST(GroupSelection, BisectionFindsTheSmallestBoundaryAboveTheDraw) {
  StubActivity m0("M0"), m1("M1"), m2("M2"), m3("M3"), m4("M4");
  Group g({&m0, &m1, &m2, &m3, &m4});
  // Cumulative weights 1 2 3 4 5: r = 2.5 -> slot 2; r = 3.0 -> slot 3 (tie); r = 4.95 -> 4;
  // r = 0 -> slot 0.
  ScriptedDraws draws({0.5, 0.6, 0.99, 0.0});
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &m2);
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &m3);
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &m4);
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &m0);
}

TEST(GroupSelection, ZeroWeightMemberIsPassedOver) {
  StubActivity a("A", true, 1, 0.0), b("B", true, 1, 2.0);
  Group g({&a, &b});
  ScriptedDraws draws({0.0});   // r = 0, A's boundary is 0: not above r
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &b);
}

// A zero weight beside a positive one is legal: that member is never chosen. (Weights that
// cannot be drawn from end the run; tests/gen checks that through a generated model.)
TEST(GroupSelection, ZeroWeightBesideAPositiveOneIsNeverChosen) {
  StubActivity a("A", true, 1, 0.0), b("B", true, 1, 2.0), c("C", true, 1, 0.0);
  Group g({&a, &b, &c});
  ScriptedDraws draws({0.0, 0.999});
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &b);
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &b);
}

TEST(GroupSelection, NothingEnabledKeepsThePreviousChoiceEvenForADrawOfZero) {
  StubActivity a("A"), b("B");
  Group g({&a, &b});
  ScriptedDraws draws({0.9, 0.0});
  ASSERT_TRUE(g.group.SelectAction());
  ASSERT_EQ(g.group.SelectedAction, &b);
  a.Predicate = false;
  b.Predicate = false;
  // 0 x -1 is -0, which must still read as "nothing enabled".
  EXPECT_FALSE(g.group.SelectAction());
  EXPECT_EQ(g.group.SelectedAction, &b);
  EXPECT_EQ(draws.used(), 2u);
}

TEST(GroupSelection, NestedGroupHandsUpItsLeafActivity) {
  StubActivity x("X", true, 1, 1.0), y("Y", true, 1, 1.0), z("Z", true, 1, 3.0);
  PostselectGroup inner;
  inner.initialize(2, "inner");
  inner.appendGroup(&y);
  inner.appendGroup(&z);
  Group outer({&x, &inner});
  // Outer: X 1, inner 1 (a postselect group weighs 1); u = 0.9 -> r = 1.8 -> inner.
  // Inner: Y 1, Z 3 -> total 4; u = 0.5 -> r = 2.0 -> Z.
  ScriptedDraws draws({0.9, 0.5});
  ASSERT_TRUE(outer.group.SelectAction());
  EXPECT_EQ(outer.group.SelectedAction, &z);
  EXPECT_EQ(outer.group.Fire(), &z);
  EXPECT_EQ(z.FireCount, 1);
  EXPECT_EQ(outer.group.SelectedAction, nullptr);
}

TEST(GroupSelection, RankWeightAndDelayAreThoseOfTheSelectedMember) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  b.Delay = 2.5;
  Group g({&a, &b});
  ScriptedDraws draws({0.5});   // r = 2 -> B
  ASSERT_TRUE(g.group.SelectAction());
  EXPECT_DOUBLE_EQ(g.group.Weight(), 3.0);
  EXPECT_DOUBLE_EQ(g.group.Rate(), 1.5);
  EXPECT_EQ(g.group.Rank(), 1);
  EXPECT_DOUBLE_EQ(g.group.SampleDistribution(), 2.5);
  EXPECT_FALSE(g.group.ReactivationPredicate());
  EXPECT_EQ(g.group.Fire(), &b);
  EXPECT_EQ(g.group.SelectedAction, nullptr);
  EXPECT_DEATH(g.group.Weight(), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(GroupEnabling, EveryMemberIsAskedEvenAfterAnEnabledOne) {
  StubActivity a("A", true), b("B", false);
  Group g({&a, &b});
  EXPECT_TRUE(g.group.Enabled());
  EXPECT_EQ(a.EnabledCalls, 1);
  EXPECT_EQ(b.EnabledCalls, 1);
  b.Predicate = true;
  // A stays enabled, B turns enabled: the group reports a change, and both were asked.
  EXPECT_TRUE(g.group.EnablingChange());
  EXPECT_EQ(a.EnabledCalls, 2);
  EXPECT_EQ(b.EnabledCalls, 2);
  EXPECT_FALSE(g.group.EnablingChange());
}

TEST(GroupProbability, EqualRanksShareByWeight) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  Group g({&a, &b});
  EXPECT_DOUBLE_EQ(g.group.Probability(&a), 0.25);   // 1 / (1 + 3)
  EXPECT_DOUBLE_EQ(g.group.Probability(&b), 0.75);
}

TEST(GroupProbability, OutrankedDisabledAndForeignActionsAreNeverSelected) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 2, 3.0), off("off", false, 2, 1.0);
  StubActivity stranger("S");
  Group g({&a, &b, &off});
  EXPECT_DOUBLE_EQ(g.group.Probability(&a), 0.0);
  EXPECT_DOUBLE_EQ(g.group.Probability(&b), 1.0);
  EXPECT_DOUBLE_EQ(g.group.Probability(&off), 0.0);
  EXPECT_DOUBLE_EQ(g.group.Probability(&stranger), 0.0);
}

TEST(GroupProbability, NestedGroupMultipliesItsShareByTheMembersShare) {
  StubActivity x("X", true, 1, 1.0), y("Y", true, 1, 1.0), z("Z", true, 1, 3.0);
  PostselectGroup inner;
  inner.initialize(2, "inner");
  inner.appendGroup(&y);
  inner.appendGroup(&z);
  Group outer({&x, &inner});
  // inner weighs 1 of a total 2, and Z has 3 of inner's 4: 0.5 x 0.75.
  EXPECT_DOUBLE_EQ(outer.group.Probability(&z), 0.375);
  EXPECT_DOUBLE_EQ(outer.group.Probability(&x), 0.5);
}

TEST(GroupProbability, ZeroTotalWeightIsReportedAndFollowsTheSelectionRule) {
  StubActivity a("A", true, 1, 0.0), b("B", true, 1, 0.0);
  Group g({&a, &b});
  testing::internal::CaptureStdout();
  double pa = g.group.Probability(&a);
  double pb = g.group.Probability(&b);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "BaseGroupClass::Probability() TotalWeight is zero.\n"
            "BaseGroupClass::Probability() TotalWeight is zero.\n");
  EXPECT_DOUBLE_EQ(pa, 0.0);
  EXPECT_DOUBLE_EQ(pb, 1.0);   // the last member at the highest rank is the one chosen
}

TEST(GroupProbability, EmptyGroupAborts) {
  BaseGroupClass g;
  StubActivity a("A");
  EXPECT_DEATH(g.Probability(&a), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(GroupMembership, AppendGrowsOneSlotAtATime) {
  StubActivity a("A"), b("B");
  BaseGroupClass g;
  g.appendGroup(&a);
  EXPECT_EQ(g.ArraySize, 1);
  g.appendGroup(&b);
  EXPECT_EQ(g.ArraySize, 2);
  EXPECT_EQ(g.getNumMembers(), 2);
  EXPECT_EQ(g.getMember(1), &b);
  EXPECT_TRUE(g.IsAMember(&a));
  EXPECT_FALSE(g.IsAMember(&g));
}

TEST(GroupMembership, AppendMembersTakesTheOtherGroupsMembersNotTheGroup) {
  StubActivity a("A"), b("B"), c("C");
  Group source({&b, &c});
  Group g({&a});
  g.group.appendMembers(&source.group);
  ASSERT_EQ(g.group.getNumMembers(), 3);
  EXPECT_EQ(g.group.getMember(0), &a);
  EXPECT_EQ(g.group.getMember(1), &b);
  EXPECT_EQ(g.group.getMember(2), &c);
  EXPECT_EQ(g.group.ArraySize, 3);
  EXPECT_FALSE(g.group.IsAMember(&source.group));
}

TEST(GroupMembership, SetMemberPastTheEndIsReportedAndChangesNothing) {
  StubActivity a("A"), b("B");
  Group g({&a});
  testing::internal::CaptureStderr();
  g.group.setMember(&b, 1);
  g.group.setMember(&b, -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Array out of bounds error at Array out of bounds (BaseGroupClass::setMember()\n"
            "Array out of bounds error at Array out of bounds (BaseGroupClass::setMember()\n");
  EXPECT_EQ(g.group.getNumMembers(), 1);
  EXPECT_EQ(g.group.getMember(0), &a);
  g.group.setMember(&b, 0);
  EXPECT_EQ(g.group.getMember(0), &b);
}

TEST(GroupMembership, ReplaceMemberAlsoReplacesTheSelection) {
  StubActivity a("A"), b("B"), c("C");
  Group g({&a, &b, &a});
  g.group.SelectedAction = &a;
  g.group.replaceMember(&a, &c);
  EXPECT_EQ(g.group.getMember(0), &c);
  EXPECT_EQ(g.group.getMember(1), &b);
  EXPECT_EQ(g.group.getMember(2), &c);
  EXPECT_EQ(g.group.SelectedAction, &c);
}

TEST(GroupMembership, BadIndexOrShrinkingArraysAbort) {
  StubActivity a("A");
  Group g({&a});
  EXPECT_DEATH(g.group.getMember(1), "!! Assertion failed in file .*, line [0-9]+");
  EXPECT_DEATH(g.group.enlargeArrays(1), "!! Assertion failed in file .*, line [0-9]+");
  BaseGroupClass empty;
  EXPECT_DEATH(empty.Check(), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(GroupMembership, GroupIdentifierReachesEveryMember) {
  StubActivity a("A"), b("B");
  Group g({&a, &b});
  g.group.setGroupId(6);
  EXPECT_EQ(a.getGroupId(), 6);
  EXPECT_EQ(b.getGroupId(), 6);
}

TEST(GroupPrinting, NestedMembersAreNumberedWithTheirParentsIndex) {
  StubActivity a("A"), b("B"), c("C"), d("D");
  PostselectGroup inner;
  inner.initialize(2, "Inner");
  inner.appendGroup(&b);
  inner.appendGroup(&c);
  Group g({&a, &inner, &d});
  g.group.defineName("Outer");
  testing::internal::CaptureStdout();
  g.group.printGroup();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "** Members of Group Outer\n"
            "[0] A\n"
            "[1] Inner\n"
            "  [1.0] B\n"
            "  [1.1] C\n"
            "[2] D\n");
}

TEST(GroupPrinting, PrintInfoNamesMembersAndTheSelection) {
  StubActivity a("A"), b("B");
  Group g({&a, &b});
  g.group.SelectedAction = &b;
  testing::internal::CaptureStdout();
  g.group.PrintInfo();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "************ Group: G ****************\n"
            "Contains the following actions:\n"
            "  A\n"
            "  B\n"
            "Selected Action = B\n");
}

TEST(GroupPrinting, TheFirstMemberStandsForTheGroupInTraces) {
  StubActivity a("A"), b("B");
  Group g({&a, &b});
  EXPECT_EQ(g.group.getPrintedAction(), &a);
  BaseGroupClass empty;
  EXPECT_EQ(empty.getPrintedAction(), &empty);
}
