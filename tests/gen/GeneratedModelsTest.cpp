#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ExperimentSummary.h"
#include "ProcessRunner.h"
#include "ResultFileReader.h"

// Simulators generated from the small model files in models/, run as a user runs them, and
// their result files read back: each checks what a feature of the model format does.

namespace {

// Runs a terminating simulation and returns the statistics of every variable.
std::map<int, SampleStatistics> RunTerminating(const std::string& program, int experiment, int batches,
                                               int seed = 7) {
  std::string dir = MakeTempDir();
  ProcessResult result = RunProgram(program, {"-t", "1", "-e", std::to_string(experiment), "-N",
                                              std::to_string(batches), "-s", std::to_string(seed), "-a", "run.csv"},
                                    dir);
  EXPECT_EQ(result.exitCode, 0) << program << ": " << result.err;
  ResultFile file;
  ExperimentSummary summary;
  std::string error;
  EXPECT_EQ(ResultFileReader::Read(dir + "/run.csv", file, error), 0) << error;
  EXPECT_EQ(summary.Add(file, error), 0) << error;
  std::remove((dir + "/run.csv").c_str());
  std::remove(dir.c_str());
  return summary.Variables();
}

double Mean(const std::map<int, SampleStatistics>& variables, int index) {
  auto found = variables.find(index);
  EXPECT_TRUE(found != variables.end()) << "no observations of variable " << index;
  return found == variables.end() ? -1.0 : found->second.Mean();
}

}  // namespace

// The enabling of Count reads Switch only in its predicate's code. With the generator's
// lists Count fires 9 times on average over [0, 10]; built with that one enabling arc
// missing, Flip's firing never makes the engine look at Count again, and it never fires.
TEST(DependencyDerivation, TheDerivedEnablingArcGivesTheRightAnswerAndItsLossAWrongOne) {
  std::map<int, SampleStatistics> derived = RunTerminating("dependency_sim", 0, 2000);
  ASSERT_EQ(derived.count(0), 1u);
  ConfidenceInterval ci = derived.at(0).Interval(0.99);
  EXPECT_TRUE(ci.lower <= 9.0 && 9.0 <= ci.upper) << "mean " << derived.at(0).Mean();
  EXPECT_LT(ci.halfWidth, 0.3);

  std::map<int, SampleStatistics> missing = RunTerminating("dependency_missing_sim", 0, 2000);
  EXPECT_EQ(Mean(missing, 0), 0.0);
}

// Every global type reaches the code with its value; a place starts with an expression of
// globals; an instant-of-time variable observes at each of its time points.
TEST(GlobalTypesAndInitialMarkings, EveryTypedValueReachesTheModelCode) {
  std::map<int, SampleStatistics> first = RunTerminating("types_sim", 0, 5);
  // Sum at its two time points, then Marking at its two.
  EXPECT_DOUBLE_EQ(Mean(first, 0), 0.5 + 2 + 3 + 4 + 0.25 + 5 + 1);
  EXPECT_DOUBLE_EQ(Mean(first, 1), 15.75);
  EXPECT_DOUBLE_EQ(Mean(first, 2), 5.0);   // s + i before Tick fires at d = 0.5
  EXPECT_DOUBLE_EQ(Mean(first, 3), 4.0);   // after it

  std::map<int, SampleStatistics> second = RunTerminating("types_sim", 1, 5);
  EXPECT_DOUBLE_EQ(Mean(second, 0), 2.0 - 1 + 1 + 'A' + 1.5 + 100000 + 0);
  EXPECT_DOUBLE_EQ(Mean(second, 2), 0.0);
}

TEST(GlobalTypesAndInitialMarkings, OverridesOfEveryTypeApply) {
  std::string dir = MakeTempDir();
  ProcessResult result = RunProgram("types_sim", {"-t", "1", "-N", "1", "-a", "run.csv", "-O",
                                                  "d:d:1:i:i:10:s:s:20:c:c:B:f:f:0.5:l:l:7:b:b:0"},
                                    dir);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ResultFile file;
  ExperimentSummary summary;
  std::string error;
  ASSERT_EQ(ResultFileReader::Read(dir + "/run.csv", file, error), 0) << error;
  ASSERT_EQ(summary.Add(file, error), 0) << error;
  EXPECT_DOUBLE_EQ(Mean(summary.Variables(), 0), 1 + 10 + 20 + 'B' + 0.5 + 7 + 0);
  std::remove((dir + "/run.csv").c_str());
  std::remove(dir.c_str());
}

// A place holds 0 to 32767 tokens. An M/M/1/K queue with a capacity beyond that and
// arrivals ten times faster than service overflows its place, which used to wrap to
// -32768 and give batch means of any sign with exit status 0; the run now ends at the
// firing that overflowed, naming the place and the activity.
TEST(GlobalTypesAndInitialMarkings, AMarkingThatOverflowsEndsTheRunNamingThePlace) {
  ProcessResult r = RunProgram("mm1k_sim", {"-t", "0", "-e", "1", "-N", "4", "-O", "d:lambda:10:i:K:100000"},
                               MakeTempDir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ERROR: MARKING_OUT_OF_RANGE: place Queue holds -32768 after activity Arrival fired"),
            std::string::npos)
      << r.err;
}

// Weights come from model code and may read globals: a negative or not finite one, or
// none above 0 among the enabled members, would choose wrongly or always the last member.
// Each ends the run naming the activity and its group; a weight of 0 beside one of 1 is
// legal.
TEST(RanksWeightsAndCases, WeightsThatCannotBeDrawnFromEndTheRunNamingTheActivity) {
  struct Case {
    const char* heavy;
    const char* message;
  };
  for (const Case& c : {Case{"d:heavy:-1", "has weight -1 (case probabilities and weights must be"},
                        Case{"d:heavy:nan", "has weight nan"}, Case{"d:heavy:inf", "has weight inf"}}) {
    ProcessResult r = RunProgram("choices_sim", {"-t", "1", "-N", "50", "-O", c.heavy}, MakeTempDir());
    EXPECT_EQ(r.exitCode, 1) << c.heavy;
    EXPECT_NE(r.err.find("ERROR: INVALID_WEIGHT: activity TakeHeavy has weight"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  ProcessResult zero = RunProgram("choices_sim", {"-t", "1", "-N", "50", "-O", "d:heavy:0"}, MakeTempDir());
  EXPECT_EQ(zero.exitCode, 0) << zero.err;
}

// Ranks, weights, cases with marking-dependent probabilities, multiplicities and firing
// functions, observed over many replications; a variable with both a rate and an impulse
// reward.
TEST(RanksWeightsAndCases, ChoicesFollowRankWeightAndCaseProbabilities) {
  const int batches = 4000;
  std::map<int, SampleStatistics> v = RunTerminating("choices_sim", 0, batches, 11);
  EXPECT_DOUBLE_EQ(Mean(v, 0), 1.0);   // the higher rank always fires
  // Weights 1 and heavy = 3: the heavy one fires with probability 3/4.
  ConfidenceInterval heavy = v.at(1).Interval(0.99);
  EXPECT_TRUE(heavy.lower <= 0.75 && 0.75 <= heavy.upper) << v.at(1).Mean();
  // Two splits: 2 or 3 tokens each, right with probability 1/2 then 3/4.
  ConfidenceInterval tokens = v.at(2).Interval(0.99);
  EXPECT_TRUE(tokens.lower <= 5.25 && 5.25 <= tokens.upper) << v.at(2).Mean();
  // The activity's firing function runs in both cases, the right case's after it.
  ConfidenceInterval fired = v.at(3).Interval(0.99);
  EXPECT_TRUE(fired.lower <= 14.5 && 14.5 <= fired.upper) << v.at(3).Mean();
  // An impulse on an activity with cases is earned by each case.
  EXPECT_DOUBLE_EQ(Mean(v, 4), 2.0);
  // A constant rate reward over a window of length 1 and an impulse per split, together.
  EXPECT_DOUBLE_EQ(Mean(v, 5), 3.0);
}

// Every distribution compiles with its parameters, samples and drives its activity.
TEST(Distributions, EveryDistributionSamples) {
  std::map<int, SampleStatistics> v = RunTerminating("distributions_sim", 0, 20);
  EXPECT_DOUBLE_EQ(Mean(v, 0), 17.0);   // each of the 17 activities fired once by time 1000
}

namespace {

// The observations of one variable in an ASCII result file, in file order.
std::vector<std::string> Observations(const std::string& file, int variable) {
  std::vector<std::string> values;
  std::string prefix = std::to_string(variable) + ",";
  size_t at = 0;
  while (at < file.size()) {
    size_t end = file.find('\n', at);
    if (end == std::string::npos) end = file.size();
    std::string line = file.substr(at, end - at);
    if (line.compare(0, prefix.size(), prefix) == 0) values.push_back(line.substr(prefix.size()));
    at = end + 1;
  }
  return values;
}

std::string RunForFile(const std::string& program, const std::vector<std::string>& args) {
  std::string dir = MakeTempDir();
  std::vector<std::string> all = args;
  all.insert(all.end(), {"-a", "run.csv"});
  ProcessResult result = RunProgram(program, all, dir);
  EXPECT_EQ(result.exitCode, 0) << program << ": " << result.err;
  std::string text = ReadFile(dir + "/run.csv");
  std::remove((dir + "/run.csv").c_str());
  std::remove(dir.c_str());
  return text;
}

}  // namespace

// The README's 38-line queue observes what the shipped mm1k observes, value for value:
// its NumberInSystem is mm1k's variable 0, its Departures mm1k's variable 5.
TEST(ShortModelFile, TheReadmeQueueGivesTheShippedQueuesObservations) {
  std::vector<std::string> steady = {"-t", "0", "-e", "1", "-N", "30", "-s", "5"};
  std::vector<std::string> shortSteady = Observations(RunForFile("mm1k_short_sim", steady), 0);
  EXPECT_EQ(shortSteady.size(), 30u);
  EXPECT_EQ(shortSteady, Observations(RunForFile("mm1k_sim", steady), 0));
  std::vector<std::string> terminating = {"-t", "1", "-e", "1", "-N", "30", "-s", "5"};
  std::vector<std::string> shortDepartures = Observations(RunForFile("mm1k_short_sim", terminating), 1);
  EXPECT_EQ(shortDepartures.size(), 30u);
  EXPECT_EQ(shortDepartures, Observations(RunForFile("mm1k_sim", terminating), 5));
}

// A reward that names one copy by its instance path observes that copy alone: machine 1 is
// up the closed-form fraction of [0, 10] and fails lambda times that on average, while the
// reward over every copy sees three machines' worth.
TEST(RewardsOnOneInstance, ACopyNamedByItsPathIsObservedAloneAsTheClosedFormSays) {
  const double lambda = 1.0, mu = 2.0, horizon = 10.0, machines = 3.0;
  const double rate = lambda + mu;
  const double upFraction = mu / rate + lambda / (rate * rate * horizon) * (1.0 - std::exp(-rate * horizon));
  std::map<int, SampleStatistics> variables = RunTerminating("instances_sim", 0, 4000);
  ASSERT_EQ(variables.size(), 3u);
  const double expected[] = {machines * upFraction, upFraction, lambda * horizon * upFraction};
  for (int v = 0; v < 3; v++) {
    ConfidenceInterval ci = variables.at(v).Interval(0.99);
    EXPECT_TRUE(ci.lower <= expected[v] && expected[v] <= ci.upper)
        << "variable " << v << ": mean " << variables.at(v).Mean() << ", expected " << expected[v];
    EXPECT_LT(ci.halfWidth, 0.05 * expected[v]) << "variable " << v;
  }
}

// A variable over two joined submodels reads both through one worker: the two queues of
// the closed ring always hold the whole population, so their sum is 3 in every replication,
// averaged over time or seen at one instant, while the first queue alone holds part of it.
TEST(RewardsOverSeveralSubmodels, TheQueuesOfBothStationsAlwaysHoldThePopulation) {
  std::map<int, SampleStatistics> variables = RunTerminating("ring_sim", 0, 500);
  ASSERT_EQ(variables.size(), 3u);
  for (int v : {0, 1}) {
    EXPECT_NEAR(variables.at(v).Mean(), 3.0, 1e-9) << "variable " << v;
    EXPECT_LT(variables.at(v).Variance(), 1e-12) << "variable " << v;
  }
  EXPECT_GT(variables.at(2).Mean(), 0.5);
  EXPECT_LT(variables.at(2).Mean(), 2.9);
  EXPECT_GT(variables.at(2).Variance(), 0.01);
}
