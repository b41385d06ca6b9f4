#include "RunOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Parse(std::vector<std::string> words, RunOptions& options, std::string& error) {
  words.insert(words.begin(), "tavrin_run");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  argv.push_back(nullptr);
  return RunOptionsParser::Parse(static_cast<int>(words.size()), argv.data(), options, error);
}

}  // namespace

TEST(RunOptions, ReadsEveryOptionAroundTheSimulator) {
  RunOptions o;
  std::string error;
  ASSERT_EQ(Parse({"--steady-state", "sim", "--precision", "0.01", "--jobs", "3", "--hosts",
                   "a,b", "--launcher", "ssh {host}", "--abs-tol", "0.5"},
                  o, error), 0) << error;
  EXPECT_EQ(o.simulator, "sim");
  EXPECT_TRUE(o.steadyState);
  EXPECT_DOUBLE_EQ(o.precision, 0.01);
  EXPECT_EQ(o.jobs, 3);
  EXPECT_EQ(o.hosts, (std::vector<std::string>{"a", "b"}));
  EXPECT_DOUBLE_EQ(o.absTol, 0.5);
  EXPECT_EQ(o.MinObs(), 100);   // batch means: fewer cost coverage in the benchmark
  RunOptions terminating;
  ASSERT_EQ(Parse({"sim"}, terminating, error), 0);
  EXPECT_EQ(terminating.MinObs(), 30);
}

TEST(RunOptions, RefusesBadValuesWithTheOptionNamed) {
  RunOptions o;
  std::string error;
  EXPECT_EQ(Parse({"sim", "--confidence", "95"}, o, error), 1);
  EXPECT_NE(error.find("--confidence"), std::string::npos);
  EXPECT_EQ(Parse({"sim", "--jobs", "two"}, o, error), 1);
  EXPECT_EQ(Parse({"sim", "--bogus"}, o, error), 1);
  EXPECT_NE(error.find("unknown option '--bogus'"), std::string::npos);
  EXPECT_EQ(Parse({"sim", "--launcher", "ssh {host}"}, o, error), 1);
  EXPECT_NE(error.find("--hosts is required"), std::string::npos);
  RunOptions local;
  EXPECT_EQ(Parse({"sim", "--hosts", "a,b"}, local, error), 1);
  EXPECT_NE(error.find("--hosts needs --launcher"), std::string::npos) << error;
  EXPECT_EQ(Parse({}, o, error), 1);
}

TEST(RunOptions, ExpandsExperimentListsAndChecksThemAgainstTheStudy) {
  RunOptions o;
  std::vector<int> numbers;
  std::string error;
  o.experiments = "0,2-4";
  ASSERT_TRUE(o.ExpandExperiments(-1, numbers, error));
  EXPECT_EQ(numbers, (std::vector<int>{0, 2, 3, 4}));
  EXPECT_FALSE(o.ExpandExperiments(4, numbers, error));
  EXPECT_NE(error.find("experiment 4 does not exist"), std::string::npos);
  o.experiments = "3-1";
  EXPECT_FALSE(o.ExpandExperiments(-1, numbers, error));
  o.experiments = "all";
  EXPECT_FALSE(o.ExpandExperiments(-1, numbers, error));
  ASSERT_TRUE(o.ExpandExperiments(3, numbers, error));
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));
}

// A number listed twice would run its experiment twice with the same client numbers and
// seeds; an empty element is a slip. Both are refused on the command line, before any run.
TEST(RunOptions, RefusesRepeatedExperimentsAndEmptyElements) {
  RunOptions o;
  std::vector<int> numbers;
  std::string error;
  for (const char* list : {"1,1", "0-2,1", "2-3,0-2"}) {
    o.experiments = list;
    EXPECT_FALSE(o.ExpandExperiments(-1, numbers, error)) << list;
    EXPECT_NE(error.find("is listed twice in '" + std::string(list) + "'"), std::string::npos) << error;
  }
  for (const char* list : {"0,,1", "0,", ",1", ""}) {
    o.experiments = list;
    EXPECT_FALSE(o.ExpandExperiments(-1, numbers, error)) << list;
    EXPECT_NE(error.find("has an empty element"), std::string::npos) << list << ": " << error;
  }
  RunOptions parsed;
  EXPECT_EQ(Parse({"sim", "--experiments", "0,,1"}, parsed, error), 1);
  EXPECT_EQ(Parse({"sim", "--experiments", "1,1"}, parsed, error), 1);
  EXPECT_NE(error.find("experiment 1 is listed twice"), std::string::npos) << error;
  ASSERT_EQ(Parse({"sim", "--experiments", "2,0-1"}, parsed, error), 0) << error;
}
