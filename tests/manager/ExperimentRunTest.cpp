#include "ExperimentRun.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Feeds one client's draws in chunks of the given size until the run stops.
ExperimentRun Feed(const std::vector<double>& draws, size_t chunk) {
  ExperimentRun::Settings settings;
  settings.precision = 0.02;
  ExperimentRun run(0, "e", {}, settings, nullptr);
  run.SetRunning();
  run.AddClient(0);
  for (size_t at = 0; at < draws.size() && run.GetState() == ExperimentRun::Running; at += chunk) {
    size_t n = std::min(chunk, draws.size() - at);
    run.AddObservations(0, 0, draws.data() + at, static_cast<int>(n));
    run.CheckStop();
  }
  return run;
}

}  // namespace

// Where a run stops, and its estimate, depend on the observations alone, not on how the
// reports happened to cut them.
TEST(ExperimentRun, StopsAtTheSameLevelHoweverTheReportsAreCut) {
  std::mt19937 random(5);
  std::exponential_distribution<double> draw(1.0);
  std::vector<double> draws(200000);
  for (double& x : draws) x = draw(random);
  ExperimentRun small = Feed(draws, 7), large = Feed(draws, 2500);
  ASSERT_EQ(small.GetState(), ExperimentRun::Done);
  ASSERT_EQ(large.GetState(), ExperimentRun::Done);
  ASSERT_EQ(small.Final().size(), 1u);
  EXPECT_EQ(small.Final()[0].observations, large.Final()[0].observations);
  EXPECT_EQ(small.Final()[0].mean, large.Final()[0].mean);
  EXPECT_EQ(small.Final()[0].status, VariableEstimate::Met);
  EXPECT_LE(small.Final()[0].RelativeHalfWidth(), 0.02);
}

// Without a study, a variable that has shown only zeros (the other run kind's) takes no part
// in the stopping rule and is listed apart.
TEST(ExperimentRun, AllZeroVariablesWithoutAStudyAreSetApart) {
  ExperimentRun::Settings settings;
  ExperimentRun run(0, "e", {}, settings, nullptr);
  run.AddClient(0);
  std::vector<double> zeros(10, 0.0), values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  run.AddObservations(0, 0, zeros.data(), 10);
  run.AddObservations(0, 1, values.data(), 10);
  EXPECT_EQ(run.ObservedVariables(), std::vector<int>{1});
  EXPECT_EQ(run.AllZeroVariables(), std::vector<int>{0});
}
