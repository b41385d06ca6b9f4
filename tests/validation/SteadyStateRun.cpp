#include "SteadyStateRun.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "ExperimentSummary.h"
#include "ProcessRunner.h"
#include "ResultFileReader.h"

std::map<int, SampleStatistics> RunSteadyState(const SteadyStateRun& run) {
  std::string dir = MakeTempDir();
  std::string overrides = run.overrides;
  if (!overrides.empty()) overrides += ":";
  // Enough digits that the batch length reaches the simulator unrounded.
  char length[64];
  std::snprintf(length, sizeof length, "d:batchLength:%.17g", run.batchLength);
  overrides += length;
  std::vector<std::string> args = {"-t", "0",
                                   "-e", std::to_string(run.experiment),
                                   "-N", std::to_string(run.batches),
                                   "-r", std::to_string(run.generator),
                                   "-s", std::to_string(run.seed),
                                   "-O", overrides,
                                   "-a", "run.csv"};
  ProcessResult result = RunProgram(run.program, args, dir);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  // A misspelt override only draws a complaint and leaves the variable at its default.
  EXPECT_EQ(result.err.find("does not exist"), std::string::npos) << result.err;
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

void ExpectAnalyticValueInside(const std::map<int, SampleStatistics>& variables, int variable,
                               int batches, double analytic, double maxRelativeHalfWidth,
                               const std::string& what) {
  ASSERT_EQ(variables.count(variable), 1u) << what << ": no observations";
  const SampleStatistics& s = variables.at(variable);
  ConfidenceInterval ci = s.Interval(0.99);
  EXPECT_EQ(s.Count(), batches) << what;
  EXPECT_LE(ci.halfWidth, maxRelativeHalfWidth * analytic)
      << what << ": 99% half-width " << ci.halfWidth << " around mean " << s.Mean();
  EXPECT_TRUE(ci.lower <= analytic && analytic <= ci.upper)
      << what << ": analytic " << analytic << ", 99% interval [" << ci.lower << ", "
      << ci.upper << "], mean " << s.Mean();
}
