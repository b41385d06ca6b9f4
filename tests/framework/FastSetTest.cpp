#include <gtest/gtest.h>

#include "framework/FastSet.h"

TEST(FastSetFreezing, ValuesComeOutAscendingWithoutDuplicates) {
  FastSet set;
  EXPECT_TRUE(set.insert(5));
  EXPECT_TRUE(set.insert(1));
  EXPECT_FALSE(set.insert(5));
  EXPECT_TRUE(set.insert(3));
  EXPECT_TRUE(set.find(3));
  EXPECT_FALSE(set.find(4));
  set.NoMoreModifications();
  ASSERT_EQ(set.size(), 3);
  EXPECT_EQ(set[0], 1);
  EXPECT_EQ(set[1], 3);
  EXPECT_EQ(set[2], 5);
}

TEST(FastSetFreezing, EmptySetFreezesToSizeZero) {
  FastSet set;
  EXPECT_TRUE(set.empty());
  set.NoMoreModifications();
  EXPECT_EQ(set.size(), 0);
  set.clear();
  EXPECT_EQ(set.size(), 0);
}

TEST(FastSetFreezing, WrongRepresentationFailsTheStandardAssertion) {
  FastSet set;
  EXPECT_DEATH(set.size(), "is_vec_rep");
  set.NoMoreModifications();
  EXPECT_DEATH(set.insert(1), "!is_vec_rep");
}
