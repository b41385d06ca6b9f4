#include "ExperimentRun.h"
#include "ProgressDisplay.h"

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

// A variable whose every observation is the same (a probability that is always 1, a rare
// event never seen) has a zero-width interval that can never meet a relative target: once
// the minimum sample is in, it no longer holds the experiment back, and it is reported as
// "constant", not as met. An absolute tolerance accepts it as met.
TEST(ExperimentRun, ConstantVariableEndsWithTheOthersAndIsReportedAsConstant) {
  std::mt19937 random(11);
  std::exponential_distribution<double> draw(1.0);
  for (double absTol : {0.0, 1e-6}) {
    ExperimentRun::Settings settings;
    settings.precision = 0.05;
    settings.absTol = absTol;
    ExperimentRun run(0, "e", {}, settings, nullptr);
    run.SetRunning();
    run.AddClient(0);
    const double one = 1.0;
    for (int i = 0; i < 100000 && run.GetState() == ExperimentRun::Running; i++) {
      double x = draw(random);
      run.AddObservations(0, 0, &one, 1);
      run.AddObservations(0, 1, &x, 1);
      run.CheckStop();
    }
    ASSERT_EQ(run.GetState(), ExperimentRun::Done) << "abs-tol " << absTol;
    EXPECT_EQ(run.Reason(), "");
    ASSERT_EQ(run.Final().size(), 2u);
    EXPECT_EQ(run.Final()[0].mean, 1.0);
    EXPECT_EQ(run.Final()[0].status, absTol > 0 ? VariableEstimate::Met : VariableEstimate::Constant);
    EXPECT_EQ(run.Final()[1].status, VariableEstimate::Met);
    EXPECT_LE(run.Final()[1].RelativeHalfWidth(), 0.05);
  }
}

// Too few identical observations say nothing yet: the variable is "insufficient" and the
// run goes on.
TEST(ExperimentRun, IdenticalObservationsBelowTheMinimumHoldTheRun) {
  ExperimentRun::Settings settings;
  settings.minObs = 50;
  ExperimentRun run(0, "e", {}, settings, nullptr);
  run.SetRunning();
  run.AddClient(0);
  std::vector<double> ones(40, 1.0);
  run.AddObservations(0, 0, ones.data(), 40);
  EXPECT_FALSE(run.CheckStop());
  EXPECT_EQ(run.GetState(), ExperimentRun::Running);
  run.AddObservations(0, 0, ones.data(), 40);
  EXPECT_TRUE(run.CheckStop());
  ASSERT_EQ(run.Final().size(), 1u);
  EXPECT_EQ(run.Final()[0].status, VariableEstimate::Constant);
}

// While a run goes on, the progress line names the variable that holds it back most, so a
// user waiting on a long experiment knows which estimate is the slow one.
TEST(ExperimentRun, ProgressNamesTheLeastPreciseVariable) {
  std::mt19937 random(3);
  std::normal_distribution<double> narrow(10.0, 0.1), wide(10.0, 5.0);
  ExperimentRun::Settings settings;
  settings.precision = 0.001;
  ExperimentRun run(0, "e", {}, settings, nullptr);
  run.SetRunning();
  run.AddClient(0);
  EXPECT_EQ(run.WorstVariableName(), "");
  for (int i = 0; i < 200; i++) {
    double a = narrow(random), b = wide(random);
    run.AddObservations(0, 0, &a, 1);
    run.AddObservations(0, 1, &b, 1);
  }
  run.CheckStop();
  ASSERT_EQ(run.GetState(), ExperimentRun::Running);
  EXPECT_EQ(run.WorstVariableName(), "variable 1");
  std::string row = ProgressDisplay::Row({&run, 1, 100.0}, settings.precision);
  EXPECT_EQ(row.substr(row.size() - 10), "variable 1") << row;
}

namespace {

// Draws of the exponential distribution with mean 1, one stream per client.
std::vector<double> Draws(unsigned seed, size_t n) {
  std::mt19937 random(seed);
  std::exponential_distribution<double> draw(1.0);
  std::vector<double> out(n);
  for (double& x : out) x = draw(random);
  return out;
}

// A run that will not meet its precision (unless given one), so only the observation limit
// can end it.
ExperimentRun LimitedRun(int64_t maxObs, double precision = 1e-6) {
  ExperimentRun::Settings settings;
  settings.precision = precision;
  settings.maxObs = maxObs;
  ExperimentRun run(0, "e", {}, settings, nullptr);
  run.SetRunning();
  return run;
}

}  // namespace

// The check after a record skips the work while another client holds the level, yet ends
// at the very level, with the very estimate, of a full check after every record.
TEST(ExperimentRunLoad, CheckAfterARecordStopsWhereAFullCheckDoes) {
  std::vector<std::vector<double>> draws = {Draws(1, 3000), Draws(2, 3000), Draws(3, 3000)};
  ExperimentRun quick = LimitedRun(0, 0.1), full = LimitedRun(0, 0.1);
  for (int c = 0; c < 3; c++) {
    quick.AddClient(c);
    full.AddClient(c);
  }
  // Client 2 lags: it sends one value for every five of the others.
  for (size_t i = 0; i < 3000 && quick.GetState() == ExperimentRun::Running; i++) {
    for (int c = 0; c < 3; c++) {
      if (c == 2 && i % 5 != 0) continue;
      size_t at = c == 2 ? i / 5 : i;
      quick.AddObservations(c, 0, &draws[c][at], 1);
      full.AddObservations(c, 0, &draws[c][at], 1);
      bool quickStop = quick.CheckStopAfter(c);
      bool fullStop = full.CheckStop();
      ASSERT_EQ(quickStop, fullStop) << "record " << i << " of client " << c;
      if (quickStop) break;
    }
  }
  ASSERT_EQ(quick.GetState(), ExperimentRun::Done);
  EXPECT_EQ(quick.History().size(), full.History().size());
  EXPECT_EQ(quick.Final()[0].observations, full.Final()[0].observations);
  EXPECT_EQ(quick.Final()[0].mean, full.Final()[0].mean);
}

// A client that lags far behind (a replacement started late) holds the level low while the
// others pile up observations: the limit still ends the experiment, near the limit and
// with every client's observations, not long after it.
TEST(ExperimentRunLoad, ObservationLimitEndsTheRunWhileAClientLags) {
  ExperimentRun run = LimitedRun(500);
  std::vector<double> a = Draws(4, 2000), b = Draws(5, 2000);
  run.AddClient(0);
  run.AddClient(1);
  run.AddClient(2);   // never sends
  bool stopped = false;
  size_t sent = 0;
  for (; sent < 2000 && !stopped; sent++) {
    run.AddObservations(0, 0, &a[sent], 1);
    stopped = run.CheckStopAfter(0);
    if (stopped) break;
    run.AddObservations(1, 0, &b[sent], 1);
    stopped = run.CheckStopAfter(1);
  }
  ASSERT_TRUE(stopped);
  EXPECT_EQ(run.GetState(), ExperimentRun::Done);
  EXPECT_LE(sent, 501u);   // twice the limit received in all, not 2000 each
  EXPECT_GE(run.Final()[0].observations, 500);
  EXPECT_LE(run.Final()[0].observations, 502);
  EXPECT_NE(run.Reason().find("observation limit"), std::string::npos);
}

// An experiment failed or ended while a replacement client has sent nothing yet is reported
// with what the other clients sent, not with none.
TEST(ExperimentRunLoad, FailureWithANewReplacementKeepsTheOthersObservations) {
  ExperimentRun run = LimitedRun(0);
  std::vector<double> a = Draws(6, 400);
  run.AddClient(0);
  run.AddObservations(0, 0, a.data(), 400);
  run.CheckStop();
  run.FreezeClient(0);
  run.AddClient(1);   // the replacement
  run.Fail("client 0 failed");
  ASSERT_EQ(run.GetState(), ExperimentRun::Failed);
  ASSERT_EQ(run.Final().size(), 1u);
  EXPECT_EQ(run.Final()[0].observations, 400);
}

// An experiment a resume does not rerun gets the checks of its stored observations, at the
// levels a run makes them, ending at all of them.
TEST(ExperimentRunLoad, StoredChecksFollowTheLevelsUpToTheStoredObservations) {
  ExperimentRun run = LimitedRun(0);
  std::vector<double> a = Draws(7, 100), b = Draws(8, 60);
  run.AddObservations(0, 0, a.data(), 100);
  run.AddObservations(1, 0, b.data(), 60);
  run.FreezeClient(0);
  run.FreezeClient(1);
  run.RecordStoredChecks();
  const auto& history = run.History();
  ASSERT_GE(history.size(), 20u);
  EXPECT_EQ(history.front().observations, 4);   // level 2 of two clients
  EXPECT_EQ(history.back().observations, 160);  // every stored observation
  for (size_t i = 1; i < history.size(); i++) EXPECT_GT(history[i].observations, history[i - 1].observations);
}
