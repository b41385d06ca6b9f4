#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessRunner.h"

// tavrin_summary as a user runs it: on a result file whose statistics are worked out by
// hand, on the files of a simulator run, and on files it must refuse.

namespace {

const char kHeader[] =
    "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=2,SEED=7,"
    "RANDOMGEN=Lagged Fibonacci\n"
    "#FORMAT: (PV ID Number),(PV Value)\n";

// Variable 0 observes 1 to 5: mean 3, sample variance 2.5. Variable 1 observes 0.5 four
// times and 1.5 once: mean 0.7, variance 0.2.
const char kObservations[] =
    "0,1.0\n0,2.0\n1,0.5\n1,0.5\n0,3.0\n1,0.5\n0,4.0\n1,0.5\n0,5.0\n1,1.5\n";

std::string WriteFile(const std::string& dir, const std::string& name, const std::string& text) {
  std::string path = dir + "/" + name;
  std::ofstream(path) << text;
  return path;
}

std::vector<double> CsvNumbers(const std::string& line) {
  std::vector<double> numbers;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) numbers.push_back(std::strtod(field.c_str(), nullptr));
  return numbers;
}

}  // namespace

// Student-t quantiles for 4 degrees of freedom: 2.776445 (95%) and 4.604095 (99%).
TEST(SummaryTool, CsvGivesCountMeanVarianceAndBothIntervalsOfEachVariable) {
  std::string dir = MakeTempDir();
  std::string file =
      WriteFile(dir, "hand.csv", std::string(kHeader) + kObservations + "#META_DATA,BATCHES=5\n");
  ProcessResult run = RunProgram("tavrin_summary", {"--csv", file});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::istringstream out(run.out);
  std::string header, first, second;
  std::getline(out, header);
  std::getline(out, first);
  std::getline(out, second);
  EXPECT_EQ(header,
            "variable,observations,mean,variance,halfwidth95,lower95,upper95,halfwidth99,"
            "lower99,upper99");
  std::vector<double> v0 = CsvNumbers(first), v1 = CsvNumbers(second);
  ASSERT_EQ(v0.size(), 10u);
  ASSERT_EQ(v1.size(), 10u);
  double half95 = 2.776445 * std::sqrt(2.5 / 5), half99 = 4.604095 * std::sqrt(2.5 / 5);
  std::vector<double> expected0 = {0, 5, 3, 2.5, half95, 3 - half95, 3 + half95,
                                   half99, 3 - half99, 3 + half99};
  for (size_t i = 0; i < expected0.size(); i++) EXPECT_NEAR(v0[i], expected0[i], 1e-5) << i;
  EXPECT_EQ(v1[0], 1);
  EXPECT_NEAR(v1[2], 0.7, 1e-12);
  EXPECT_NEAR(v1[3], 0.2, 1e-12);
  EXPECT_NEAR(v1[7], 4.604095 * std::sqrt(0.2 / 5), 1e-5);
}

TEST(SummaryTool, TableNamesTheExperimentAndCountsTheBinaryFileOfARun) {
  std::string dir = MakeTempDir();
  ProcessResult sim = RunProgram("l2_cache_sim", {"-t", "1", "-N", "7", "-b", "run.bin"}, dir);
  ASSERT_EQ(sim.exitCode, 0) << sim.err;
  ProcessResult run = RunProgram("tavrin_summary", {dir + "/run.bin"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Experiment 0, 1 file\n"), std::string::npos) << run.out;
  std::istringstream out(run.out);
  std::string line;
  std::getline(out, line);
  std::getline(out, line);   // the column heads
  std::getline(out, line);
  std::istringstream row(line);
  int variable = -1, count = -1;
  double mean = -1;
  row >> variable >> count >> mean;
  EXPECT_EQ(variable, 0);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(mean, 1.0);   // L2_CONTENT is 1 at the end of every batch
}

// A run killed before its trailer: the statistics of what is whole, with a warning.
TEST(SummaryTool, FileCutBeforeItsTrailerIsSummedUpWithAWarningNamingIt) {
  std::string dir = MakeTempDir();
  std::string file = WriteFile(dir, "cut.csv", std::string(kHeader) + kObservations);
  ProcessResult run = RunProgram("tavrin_summary", {"--csv", file});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("tavrin_summary: warning: " + file + ": no #META_DATA trailer"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("\n0,"), std::string::npos) << run.out;
}

// The two files of one run repeat each other's observations: pooled they would count every
// batch twice.
TEST(SummaryTool, BothFilesOfOneRunAreNotPooled) {
  std::string dir = MakeTempDir();
  ProcessResult sim =
      RunProgram("l2_cache_sim", {"-t", "1", "-N", "3", "-a", "run.csv", "-b", "run.bin"}, dir);
  ASSERT_EQ(sim.exitCode, 0) << sim.err;
  ProcessResult run = RunProgram("tavrin_summary", {dir + "/run.csv", dir + "/run.bin"});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("same seed"), std::string::npos) << run.err;
}

// Finite values whose sums overflow a double: no mean of -inf, no interval of nan.
TEST(SummaryTool, ObservationsTooLargeForTheirStatisticsAreAnError) {
  std::string dir = MakeTempDir();
  for (const char* values : {"0,1e308\n0,-1e308\n", "0,1e200\n0,2e200\n"}) {
    std::string file = WriteFile(dir, "big.csv", std::string(kHeader) + "1,1.0\n1,2.0\n" +
                                                     values + "#META_DATA,BATCHES=2\n");
    ProcessResult run = RunProgram("tavrin_summary", {file});
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_EQ(run.err, "tavrin_summary: variable 0: its observations are too large for a finite "
                       "mean and variance\n");
  }
}

// A directory opens as a file does, and fails only when read.
TEST(SummaryTool, BothToolsNameAFileThatCannotBeReadAndExitWithAnError) {
  std::string dir = MakeTempDir();
  for (const char* tool : {"tavrin_summary", "tavrin_dump"}) {
    ProcessResult run = RunProgram(tool, {dir});
    EXPECT_EQ(run.exitCode, 1) << tool << ": " << run.err;
    EXPECT_EQ(run.err, std::string(tool) + ": " + dir + ": cannot read: Is a directory\n");
    EXPECT_EQ(run.out, "");
  }
}

TEST(SummaryTool, NoFileOrAnUnknownOptionPrintsTheUsage) {
  for (std::vector<std::string> args : {std::vector<std::string>{}, {"--bogus", "x.csv"}}) {
    ProcessResult run = RunProgram("tavrin_summary", args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage: tavrin_summary [--csv] FILE..."), std::string::npos) << run.err;
  }
}
