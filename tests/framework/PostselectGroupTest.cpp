#include "framework/PostselectGroup.h"

#include <gtest/gtest.h>

#include "GroupTestSupport.h"

TEST(PostselectTiming, TimingComesFromTheFirstMemberAndTheChoiceFromTheFiring) {
  StubActivity a("A", true, 1, 1.0), b("B", true, 1, 3.0);
  a.Delay = 2.0;
  a.Reactivates = true;
  b.Delay = 9.0;
  PostselectGroup g(2);
  g.setMember(&a, 0);
  g.setMember(&b, 1);
  EXPECT_DOUBLE_EQ(g.SampleDistribution(), 2.0);
  EXPECT_TRUE(g.ReactivationPredicate());
  EXPECT_TRUE(g.ReactivationFunction());
  EXPECT_EQ(g.Rank(), 1);
  EXPECT_DOUBLE_EQ(g.Weight(), 1.0);
  ScriptedDraws draws({0.5});   // r = 0.5 x 4 = 2 -> B
  EXPECT_EQ(g.Fire(), &b);
  EXPECT_EQ(b.FireCount, 1);
  EXPECT_EQ(a.FireCount, 0);
  EXPECT_EQ(g.SelectedAction, nullptr);
}

TEST(PostselectMembers, SizedGroupCountsItsSlotsAsMembers) {
  StubActivity a("A"), b("B");
  PostselectGroup g(2);
  EXPECT_EQ(g.getNumMembers(), 2);
  EXPECT_DEATH(g.getMember(0), "!! Assertion failed in file .*, line [0-9]+");
  g.setMember(&a, 0);
  g.setMember(&b, 1);
  EXPECT_EQ(g.getMember(1), &b);
}

TEST(PostselectMembers, AppendingToASizedGroupGrowsItsArrays) {
  StubActivity a("A"), b("B"), c("C");
  PostselectGroup g(2);
  g.setMember(&a, 0);
  g.setMember(&b, 1);
  g.appendGroup(&c);
  ASSERT_EQ(g.getNumMembers(), 3);
  EXPECT_EQ(g.ArraySize, 3);
  EXPECT_EQ(g.getMember(0), &a);
  EXPECT_EQ(g.getMember(2), &c);
  ScriptedDraws draws({0.9});   // weights 1 1 1: r = 2.7 -> C
  EXPECT_EQ(g.Fire(), &c);
}

TEST(PostselectTiming, FiringWithNoEnabledMemberAborts) {
  StubActivity a("A", false);
  PostselectGroup g(1);
  g.setMember(&a, 0);
  ScriptedDraws draws({0.5});
  EXPECT_DEATH(g.Fire(), "!! Assertion failed in file .*, line [0-9]+");
}
