#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "ProcessRunner.h"

// The simulators built from the model files of mm1k, md1 and availability against the
// hand-written simulators of the same models: for every experiment, each of the three
// random number generators and both kinds of run, the two write the same ASCII and binary
// result files to the byte. The hand-written models were checked against theory, so this
// checks the generator against them. (The availability model has no steady-state variable,
// so only its terminating runs are compared.)

namespace {

struct ModelPair {
  const char* handWritten;
  const char* generated;
  int experiments;
  bool steadyState;   // availability has only terminating variables
};

struct IdentityCase {
  ModelPair models;
  int experiment;
  int generator;
  int runKind;   // the -t option: 1 terminating, 0 steady state
};

void PrintTo(const IdentityCase& c, std::ostream* out) {
  *out << c.models.handWritten << " e" << c.experiment << " r" << c.generator << " t" << c.runKind;
}

std::vector<IdentityCase> AllCases() {
  const ModelPair kPairs[] = {{"mm1k_sim", "mm1k_gen_sim", 4, true},
                              {"md1_sim", "md1_gen_sim", 2, true},
                              {"availability_sim", "availability_gen_sim", 2, false}};
  std::vector<IdentityCase> cases;
  for (const ModelPair& pair : kPairs)
    for (int e = 0; e < pair.experiments; e++)
      for (int r = 0; r < 3; r++)
        for (int t = pair.steadyState ? 0 : 1; t < 2; t++) cases.push_back({pair, e, r, t});
  return cases;
}

class GeneratedSimulatorMatchesHandWritten : public ::testing::TestWithParam<IdentityCase> {};

// Runs one simulator and returns its ASCII and binary result files.
std::pair<std::string, std::string> RunSimulator(const std::string& program, const IdentityCase& c) {
  std::string dir = MakeTempDir();
  // Steady-state batches of the queues shortened, so a run takes a fraction of a second.
  std::vector<std::string> args = {"-t", std::to_string(c.runKind), "-e", std::to_string(c.experiment),
                                   "-r", std::to_string(c.generator), "-s", "4711", "-N", "60", "-n", "25",
                                   "-a", "run.csv", "-b", "run.bin"};
  ProcessResult result = RunProgram(program, args, dir);
  EXPECT_EQ(result.exitCode, 0) << program << ": " << result.err;
  std::pair<std::string, std::string> files = {ReadFile(dir + "/run.csv"), ReadFile(dir + "/run.bin")};
  std::remove((dir + "/run.csv").c_str());
  std::remove((dir + "/run.bin").c_str());
  std::remove(dir.c_str());
  return files;
}

}  // namespace

TEST_P(GeneratedSimulatorMatchesHandWritten, ResultFilesAreByteIdentical) {
  const IdentityCase& c = GetParam();
  auto hand = RunSimulator(c.models.handWritten, c);
  auto generated = RunSimulator(c.models.generated, c);
  // A run that wrote nothing would compare equal; each file holds at least its header and
  // the 60 batches' observations.
  ASSERT_GT(hand.first.size(), 200u);
  ASSERT_GT(hand.second.size(), 256u);
  EXPECT_TRUE(hand.first == generated.first) << "ASCII result files differ";
  EXPECT_TRUE(hand.second == generated.second) << "binary result files differ";
}

INSTANTIATE_TEST_SUITE_P(EveryExperimentGeneratorAndRunKind, GeneratedSimulatorMatchesHandWritten,
                         ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<IdentityCase>& info) {
                           const IdentityCase& c = info.param;
                           return std::string(c.models.generated) + "_e" + std::to_string(c.experiment) + "_r" +
                                  std::to_string(c.generator) + "_t" + std::to_string(c.runKind);
                         });
