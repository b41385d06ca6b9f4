#include "BatchIndependence.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<double> Ar1(double phi, int n, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<double> series;
  double x = 0.0;
  for (int i = 0; i < n; i++) series.push_back(x = phi * x + noise(random));
  return series;
}

}  // namespace

// Independent draws pass the von Neumann test at 5% in most series; a strongly positively
// correlated AR(1) series fails it, and passes once merged enough.
TEST(VonNeumannTest, AcceptsIndependentSeriesAndRejectsCorrelatedOnes) {
  int accepted = 0;
  for (unsigned seed = 1; seed <= 100; seed++) accepted += BatchIndependence::Accepts(Ar1(0.0, 200, seed), 0.05);
  EXPECT_GE(accepted, 88);   // 95 expected; a binomial sd of about 2
  int rejected = 0;
  for (unsigned seed = 1; seed <= 20; seed++) rejected += !BatchIndependence::Accepts(Ar1(0.9, 200, seed), 0.05);
  EXPECT_EQ(rejected, 20);
  std::vector<double> merged = BatchIndependence::Merge(Ar1(0.9, 6400, 3), 64);
  EXPECT_EQ(merged.size(), 100u);
  EXPECT_TRUE(BatchIndependence::Accepts(merged, 0.05));
}

// The statistic estimates the lag-1 autocorrelation: about phi for an AR(1) series.
TEST(VonNeumannTest, StatisticAndLag1AutocorrelationEstimatePhi) {
  std::vector<double> series = Ar1(0.5, 20000, 5);
  EXPECT_NEAR(BatchIndependence::Lag1Autocorrelation(series), 0.5, 0.03);
  EXPECT_NEAR(BatchIndependence::VonNeumannStatistic(series), 0.5, 0.03);
}

// Too few batches are never accepted; a constant series is; merging means consecutive
// groups and drops an incomplete last one.
TEST(VonNeumannTest, ShortConstantAndMergedSeries) {
  EXPECT_FALSE(BatchIndependence::Accepts({1, 2, 3, 1, 2, 3, 1}, 0.05));
  EXPECT_TRUE(BatchIndependence::Accepts(std::vector<double>(20, 4.0), 0.05));
  std::vector<double> merged = BatchIndependence::Merge({1, 3, 5, 7, 9}, 2);
  ASSERT_EQ(merged.size(), 2u);
  EXPECT_DOUBLE_EQ(merged[0], 2.0);
  EXPECT_DOUBLE_EQ(merged[1], 6.0);
}
