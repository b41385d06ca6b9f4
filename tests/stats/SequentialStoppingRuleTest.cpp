#include "SequentialStoppingRule.h"

#include <gtest/gtest.h>

#include <cmath>

// Met once is not enough: the rule confirms after 10% more observations, and starts over
// when the confirming check fails.
TEST(SequentialStoppingRule, StopsOnlyWhenAConfirmingCheckAlsoMeetsTheTarget) {
  SequentialStoppingRule rule(0.05, 0.0, 100, 0.1);
  EXPECT_EQ(rule.Check(50, true), SequentialStoppingRule::Continue);   // below the minimum
  EXPECT_EQ(rule.Check(200, true), SequentialStoppingRule::Confirming);
  EXPECT_EQ(rule.NextCheck(200), 220);
  EXPECT_EQ(rule.Check(210, true), SequentialStoppingRule::Confirming);
  EXPECT_EQ(rule.Check(220, false), SequentialStoppingRule::Continue);
  EXPECT_EQ(rule.Check(230, true), SequentialStoppingRule::Confirming);
  EXPECT_EQ(rule.Check(253, true), SequentialStoppingRule::Stop);
}

// Relative precision against |mean|, adjusted to 0.05 / 1.05 of it; the absolute tolerance accepts a half-width near a mean
// of 0; an infinite half-width (one observation) never meets.
TEST(SequentialStoppingRule, MetByRelativeOrAbsoluteHalfWidth) {
  SequentialStoppingRule relative(0.05, 0.0, 2, 0.1);
  EXPECT_TRUE(relative.Met(-10.0, 0.476));
  EXPECT_FALSE(relative.Met(10.0, 0.477));
  EXPECT_FALSE(relative.Met(0.0, 1e-9));
  EXPECT_FALSE(relative.Met(1.0, INFINITY));
  SequentialStoppingRule absolute(0.05, 0.01, 2, 0.1);
  EXPECT_TRUE(absolute.Met(0.0, 0.01));
}

// The half-width falls as 1/sqrt(n): twice the target needs three times as many more.
TEST(SequentialStoppingRule, ObservationsLeftFromTheHalfWidthRatio) {
  EXPECT_DOUBLE_EQ(SequentialStoppingRule::ObservationsLeft(1000, 2.0), 3000.0);
  EXPECT_DOUBLE_EQ(SequentialStoppingRule::ObservationsLeft(1000, 0.8), 0.0);
  EXPECT_TRUE(std::isinf(SequentialStoppingRule::ObservationsLeft(1000, INFINITY)));
}
