#include <gtest/gtest.h>

#include <cmath>

#include "Statistics.h"

TEST(SampleStatisticsMoments, MeanAndSampleVarianceOfKnownValues) {
  SampleStatistics s;
  for (double x : {2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0}) s.Add(x);
  // Sum 40 over 8 values: mean 5. Squared deviations 9+1+1+1+0+0+4+16 = 32; 32 / 7.
  EXPECT_EQ(s.Count(), 8);
  EXPECT_DOUBLE_EQ(s.Mean(), 5.0);
  EXPECT_DOUBLE_EQ(s.Variance(), 32.0 / 7.0);
}

TEST(SampleStatisticsMoments, LargeOffsetDoesNotSwallowTheVariance) {
  SampleStatistics s;
  // 1e9 + {1, 2, 3}: variance 1, which a naive sum of squares loses at this magnitude.
  for (double x : {1e9 + 1, 1e9 + 2, 1e9 + 3}) s.Add(x);
  EXPECT_NEAR(s.Variance(), 1.0, 1e-6);
}

TEST(SampleStatisticsIntervals, StudentQuantileMatchesTheTable) {
  SampleStatistics s;
  for (double x : {1.0, 2.0, 3.0, 4.0, 5.0}) s.Add(x);
  // n = 5, mean 3, variance 2.5: s / sqrt(n) = sqrt(0.5). t(0.975, 4) = 2.776445,
  // t(0.995, 4) = 4.604095 from the printed tables.
  ConfidenceInterval ci95 = s.Interval(0.95);
  ConfidenceInterval ci99 = s.Interval(0.99);
  EXPECT_NEAR(ci95.halfWidth, 2.776445 * std::sqrt(0.5), 1e-5);
  EXPECT_NEAR(ci99.halfWidth, 4.604095 * std::sqrt(0.5), 1e-5);
  EXPECT_NEAR(ci95.lower, 3.0 - ci95.halfWidth, 1e-12);
  EXPECT_NEAR(ci95.upper, 3.0 + ci95.halfWidth, 1e-12);
}

TEST(SampleStatisticsIntervals, OneObservationGivesNoFiniteInterval) {
  SampleStatistics s;
  s.Add(4.0);
  EXPECT_EQ(s.Variance(), 0.0);
  EXPECT_TRUE(std::isinf(s.Interval(0.95).halfWidth));
}
