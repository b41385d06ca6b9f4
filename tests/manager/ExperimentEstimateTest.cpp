#include "ExperimentEstimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

// Pooling takes the first L observations of every client, so the estimate at a level does
// not depend on how the reports of the clients interleaved on arrival.
TEST(ExperimentEstimate, EstimateAtALevelIgnoresArrivalOrder) {
  std::vector<double> a = {1, 2, 3, 4, 5, 6}, b = {10, 20, 30, 40};
  ExperimentEstimate first(false, 0.95, 0.05), second(false, 0.95, 0.05);
  first.AddClient(0);
  first.AddClient(1);
  second.AddClient(0);
  second.AddClient(1);
  first.AddObservations(0, 0, a.data(), 6);
  first.AddObservations(1, 0, b.data(), 4);
  second.AddObservations(1, 0, b.data(), 2);
  second.AddObservations(0, 0, a.data(), 3);
  second.AddObservations(1, 0, b.data() + 2, 2);
  second.AddObservations(0, 0, a.data() + 3, 3);
  EXPECT_EQ(first.ReachedLevel({0}), 4);
  VariableEstimate x = first.Estimate(0, 3), y = second.Estimate(0, 3);
  EXPECT_EQ(x.observations, 6);
  EXPECT_EQ(x.mean, y.mean);
  EXPECT_EQ(x.halfWidth, y.halfWidth);
  EXPECT_DOUBLE_EQ(x.mean, (1 + 2 + 3 + 10 + 20 + 30) / 6.0);
}

// A client that has sent nothing holds the level at 0; once it is frozen (ended), the level
// is set by the clients still growing, and the frozen one gives what it has.
TEST(ExperimentEstimate, SilentClientHoldsTheLevelUntilFrozen) {
  std::vector<double> values(50, 1.0);
  ExperimentEstimate e(false, 0.95, 0.05);
  e.AddClient(0);
  e.AddClient(1);
  e.AddObservations(0, 0, values.data(), 50);
  EXPECT_EQ(e.ReachedLevel({0}), 0);
  e.Freeze(1);
  EXPECT_EQ(e.ReachedLevel({0}), 50);
  e.AddObservations(1, 0, values.data(), 5);
  EXPECT_EQ(e.PooledCount(0, 50), 55);
}

// Steady state: AR(1) batch means with phi 0.9 are merged until independent, and the pooled
// interval covers the true mean 0; a handful of batches is "insufficient".
TEST(ExperimentEstimate, SteadyStateMergesCorrelatedBatchesAndFlagsTooFew) {
  std::mt19937 random(11);
  std::normal_distribution<double> noise(0.0, 1.0);
  ExperimentEstimate e(true, 0.95, 0.05);
  for (int client = 0; client < 2; client++) {
    std::vector<double> series;
    double x = 0.0;
    for (int i = 0; i < 4000; i++) series.push_back(x = 0.9 * x + noise(random));
    e.AddClient(client);
    e.AddObservations(client, 0, series.data(), static_cast<int>(series.size()));
  }
  VariableEstimate v = e.Estimate(0, 4000);
  EXPECT_EQ(v.status, VariableEstimate::NotMet);
  EXPECT_GE(v.mergeFactor, 4);
  EXPECT_LT(std::fabs(v.mean), v.halfWidth);
  VariableEstimate few = e.Estimate(0, 4);
  EXPECT_EQ(few.status, VariableEstimate::Insufficient);
  EXPECT_TRUE(std::isinf(few.halfWidth));
}

// A series whose batch means keep a strong trend never passes the test at any merge and is
// reported correlated, not given an interval.
TEST(ExperimentEstimate, SteadyStateTrendStaysCorrelated) {
  std::vector<double> trend;
  for (int i = 0; i < 400; i++) trend.push_back(std::sin(i / 40.0) * 10.0);
  ExperimentEstimate e(true, 0.95, 0.05);
  e.AddClient(0);
  e.AddObservations(0, 0, trend.data(), 400);
  VariableEstimate v = e.Estimate(0, 400);
  EXPECT_EQ(v.status, VariableEstimate::Correlated);
  EXPECT_TRUE(std::isinf(v.halfWidth));
}
