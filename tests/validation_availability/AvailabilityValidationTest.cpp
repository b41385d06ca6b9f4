#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ExperimentSummary.h"
#include "ProcessRunner.h"
#include "ResultFileReader.h"

// The availability simulator is run as a user runs it, its ASCII result file is read with the
// summary tool's code, and every measure's 99% interval must hold the closed form of the
// two-state Markov chain that starts up:
//   A(t) = mu/(lambda+mu) + lambda/(lambda+mu) exp(-(lambda+mu) t),
//   integral of A over [0, T] = mu/(lambda+mu) T + lambda/(lambda+mu)^2 (1 - exp(-(lambda+mu) T)).

namespace {

// The model's variables in the order of its result files: the instant-of-time variable
// expanded into one variable per time point, then the two over the window [0, 1.5].
const double kInstants[3] = {0.1, 0.5, 2.0};
const int kIntervalVariable = 3;
const int kTimeAveragedVariable = 4;
const double kWindowEnd = 1.5;

const int kBatches = 200000;
// At this many batches the widest 99% half-width (an instant with A near 0.5) is about
// 2.58 * sqrt(0.25 / 200000) = 0.0029; the bound leaves room and still fails a loose run.
const double kLargestRelativeHalfWidth = 0.01;

double Availability(double lambda, double mu, double t) {
  double sum = lambda + mu;
  return mu / sum + lambda / sum * std::exp(-sum * t);
}

double UpTime(double lambda, double mu, double T) {
  double sum = lambda + mu;
  return mu / sum * T + lambda / (sum * sum) * (1.0 - std::exp(-sum * T));
}

struct Setting {
  const char* name;
  std::vector<std::string> args;   // experiment, overrides, generator
  double lambda;
  double mu;
};

void PrintTo(const Setting& setting, std::ostream* out) { *out << setting.name; }

std::map<int, SampleStatistics> Simulate(const Setting& setting) {
  std::string dir = MakeTempDir();
  std::vector<std::string> args = {"-t", "1", "-N", std::to_string(kBatches), "-a", "run.csv"};
  args.insert(args.end(), setting.args.begin(), setting.args.end());
  ProcessResult run = RunProgram("availability_sim", args, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ResultFile file;
  ExperimentSummary summary;
  std::string error;
  std::string path = dir + "/run.csv";
  EXPECT_EQ(ResultFileReader::Read(path, file, error), 0) << error;
  EXPECT_EQ(summary.Add(file, error), 0) << error;
  std::remove(path.c_str());
  std::remove(dir.c_str());
  return summary.Variables();
}

void ExpectInside(const std::map<int, SampleStatistics>& variables, int variable,
                  double expected, const std::string& what) {
  ASSERT_EQ(variables.count(variable), 1u) << what;
  const SampleStatistics& s = variables.at(variable);
  ConfidenceInterval ci = s.Interval(0.99);
  EXPECT_EQ(s.Count(), kBatches) << what;
  EXPECT_LE(ci.halfWidth, kLargestRelativeHalfWidth * expected) << what;
  EXPECT_TRUE(ci.lower <= expected && expected <= ci.upper)
      << what << ": expected " << expected << ", 99% interval [" << ci.lower << ", " << ci.upper
      << "], mean " << s.Mean();
}

class AvailabilityAgainstClosedForm : public ::testing::TestWithParam<Setting> {};

}  // namespace

TEST_P(AvailabilityAgainstClosedForm, EveryMeasureHoldsTheAnalyticValue) {
  const Setting& setting = GetParam();
  std::map<int, SampleStatistics> variables = Simulate(setting);
  EXPECT_EQ(variables.size(), 5u);
  for (int i = 0; i < 3; i++)
    ExpectInside(variables, i, Availability(setting.lambda, setting.mu, kInstants[i]),
                 "availability at " + std::to_string(kInstants[i]));
  double upTime = UpTime(setting.lambda, setting.mu, kWindowEnd);
  ExpectInside(variables, kIntervalVariable, upTime, "time up in [0, 1.5]");
  ExpectInside(variables, kTimeAveragedVariable, upTime / kWindowEnd, "fraction up in [0, 1.5]");
}

// The first experiment has lambda 1, mu 4; the second lambda 0.5, mu 0.5, whose slower
// transient keeps A(2) well above its limit. The override runs lambda 2, mu 3 through -O.
// Each setting draws from a different generator.
INSTANTIATE_TEST_SUITE_P(
    Settings, AvailabilityAgainstClosedForm,
    ::testing::Values(Setting{"FirstExperiment", {"-r", "0", "-s", "11"}, 1.0, 4.0},
                      Setting{"SecondExperiment", {"-e", "1", "-r", "1", "-s", "12"}, 0.5, 0.5},
                      Setting{"RatesOverridden",
                              {"-O", "d:lambda:2:d:mu:3", "-r", "2", "-s", "13"}, 2.0, 3.0}),
    [](const ::testing::TestParamInfo<Setting>& info) { return std::string(info.param.name); });
