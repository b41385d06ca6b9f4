#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExperimentSummary.h"

namespace {

ResultFile File(const std::string& name, unsigned int experiment, const std::string& seed,
                const std::string& generator, const std::vector<double>& variable0) {
  ResultFile f;
  f.Name = name;
  f.ExperimentNumber = experiment;
  f.Seed = seed;
  f.Generator = generator;
  f.Observations[0] = variable0;
  return f;
}

}  // namespace

TEST(ExperimentSummaryPooling, ClientsOfOneExperimentArePooledPerVariable) {
  ExperimentSummary summary;
  std::string error;
  ResultFile a = File("a.csv", 2, "1", "Tausworthe", {1.0, 2.0});
  a.Observations[3] = {10.0};
  ResultFile b = File("b.bin", 2, "2", "Tausworthe", {3.0, 4.0, 5.0});
  ASSERT_EQ(summary.Add(a, error), 0) << error;
  ASSERT_EQ(summary.Add(b, error), 0) << error;
  EXPECT_EQ(summary.NumFiles(), 2);
  EXPECT_EQ(summary.Experiment(), 2u);
  ASSERT_EQ(summary.Variables().size(), 2u);
  // Variable 0 pools {1, 2, 3, 4, 5}: mean 3, squared deviations 4+1+0+1+4 = 10, over 4.
  const SampleStatistics& v0 = summary.Variables().at(0);
  EXPECT_EQ(v0.Count(), 5);
  EXPECT_DOUBLE_EQ(v0.Mean(), 3.0);
  EXPECT_DOUBLE_EQ(v0.Variance(), 2.5);
  EXPECT_EQ(summary.Variables().at(3).Count(), 1);
}

TEST(ExperimentSummaryPooling, FileOfAnotherExperimentIsRefusedAndNotCounted) {
  ExperimentSummary summary;
  std::string error;
  ASSERT_EQ(summary.Add(File("a.csv", 0, "1", "Tausworthe", {1.0}), error), 0);
  EXPECT_EQ(summary.Add(File("b.csv", 1, "2", "Tausworthe", {9.0}), error), 1);
  EXPECT_EQ(error,
            "b.csv: experiment 1, but a.csv is of experiment 0: only the files of one experiment "
            "can be summarised together");
  EXPECT_EQ(summary.NumFiles(), 1);
  EXPECT_EQ(summary.Variables().at(0).Count(), 1);
}

TEST(ExperimentSummaryPooling, RepeatedRandomStreamIsRefused) {
  ExperimentSummary summary;
  std::string error;
  ASSERT_EQ(summary.Add(File("a.csv", 0, "31415", "Lagged Fibonacci", {1.5, 0.1}), error), 0);
  ASSERT_EQ(summary.Add(File("b.csv", 0, "31415", "Tausworthe", {2.0}), error), 0) << error;
  ASSERT_EQ(summary.Add(File("c.csv", 0, "5", "Lagged Fibonacci", {3.0}), error), 0) << error;
  // The binary file of the same run: its values carry every digit where the ASCII file's
  // stop at ten decimals, and it may hold more or fewer reports.
  EXPECT_EQ(summary.Add(File("a.bin", 0, "31415", "Lagged Fibonacci",
                             {1.5, 0.1 + 3e-11, 4.0}),
                        error),
            1);
  EXPECT_EQ(error,
            "a.bin: same seed (31415) and generator (Lagged Fibonacci) as a.csv: its observations "
            "repeat that file's, they are not an independent client");
  EXPECT_EQ(summary.Add(File("cut.bin", 0, "31415", "Lagged Fibonacci", {1.5}), error), 1);
  EXPECT_EQ(summary.Variables().at(0).Count(), 4);
  EXPECT_TRUE(summary.Warnings().empty());
}

// Another model, or the same one with other parameters, run with the same seed (31415 when
// none is given) observes other values: not a repeat, but not independent either.
TEST(ExperimentSummaryPooling, SameSeedWithOtherObservationsIsAddedWithAWarning) {
  ExperimentSummary summary;
  std::string error;
  ResultFile mm1k = File("mm1k.csv", 0, "31415", "Lagged Fibonacci", {2.9, 3.1});
  mm1k.Observations[1] = {0.0, 0.0};   // a variable the run does not observe
  ResultFile cache = File("cache.csv", 0, "31415", "Lagged Fibonacci", {0.25, 0.5});
  cache.Observations[1] = {0.0, 0.0};
  cache.Observations[7] = {12.0, 13.0};
  ASSERT_EQ(summary.Add(mm1k, error), 0) << error;
  ASSERT_EQ(summary.Add(cache, error), 0) << error;
  ASSERT_EQ(summary.Warnings().size(), 1u);
  EXPECT_EQ(summary.Warnings()[0],
            "cache.csv: same seed (31415) and generator (Lagged Fibonacci) as mm1k.csv, but "
            "other observations (another model, or other parameters): the two runs drew the "
            "same random numbers, so they are not independent of each other");
  EXPECT_EQ(summary.Variables().at(0).Count(), 4);
  // Agreeing only on zeros, or on no variable at all, is no repeat either.
  ResultFile zeros = File("zeros.csv", 0, "31415", "Lagged Fibonacci", {});
  zeros.Observations.clear();
  zeros.Observations[1] = {0.0, 0.0, 0.0};
  EXPECT_EQ(summary.Add(zeros, error), 0) << error;
  ResultFile other = File("other.csv", 0, "31415", "Lagged Fibonacci", {});
  other.Observations.clear();
  other.Observations[9] = {1.0};
  EXPECT_EQ(summary.Add(other, error), 0) << error;
  EXPECT_EQ(summary.NumFiles(), 4);
}

TEST(ExperimentSummaryPooling, FilesWithoutASeedFieldAreNotTakenForRepeats) {
  ExperimentSummary summary;
  std::string error;
  ASSERT_EQ(summary.Add(File("a.bin", 0, "", "", {1.0}), error), 0);
  EXPECT_EQ(summary.Add(File("b.bin", 0, "", "", {2.0}), error), 0) << error;
}
