#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "ProcessRunner.h"

// The simulators built from the model files of mm1k, md1 and availability write the result
// files stored in reference/, which the hand-written versions of these models (checked
// against queueing and reliability theory) wrote before the model files replaced them:
// experiment 1, seed 4711, 20 batches in reports of 10, on each of the three generators.

namespace {

struct ReferenceRun {
  const char* model;
  int generator;
  int runKind;   // the -t option
};

void PrintTo(const ReferenceRun& c, std::ostream* out) {
  *out << c.model << " r" << c.generator << " t" << c.runKind;
}

std::string Stem(const ReferenceRun& c) {
  return std::string(c.model) + "_e1_r" + std::to_string(c.generator) + "_t" + std::to_string(c.runKind);
}

std::vector<ReferenceRun> AllRuns() {
  std::vector<ReferenceRun> runs;
  for (int r = 0; r < 3; r++) {
    runs.push_back({"mm1k", r, 0});
    runs.push_back({"mm1k", r, 1});
    runs.push_back({"md1", r, 0});
    runs.push_back({"availability", r, 1});
  }
  return runs;
}

class GeneratedSimulatorWritesReferenceFiles : public ::testing::TestWithParam<ReferenceRun> {};

}  // namespace

TEST_P(GeneratedSimulatorWritesReferenceFiles, AsciiAndBinaryFilesMatchToTheByte) {
  const ReferenceRun& c = GetParam();
  std::string dir = MakeTempDir();
  ProcessResult result = RunProgram(std::string(c.model) + "_sim",
                                    {"-t", std::to_string(c.runKind), "-e", "1", "-r", std::to_string(c.generator),
                                     "-s", "4711", "-N", "20", "-n", "10", "-a", "run.csv", "-b", "run.bin"},
                                    dir);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string reference = std::string(TAVRIN_REFERENCE_DIR) + "/" + Stem(c);
  std::string expectedAscii = ReadFile(reference + ".csv");
  std::string expectedBinary = ReadFile(reference + ".bin");
  ASSERT_FALSE(expectedAscii.empty()) << "missing " << reference << ".csv";
  ASSERT_FALSE(expectedBinary.empty()) << "missing " << reference << ".bin";
  EXPECT_TRUE(ReadFile(dir + "/run.csv") == expectedAscii) << "ASCII file differs from " << reference << ".csv";
  EXPECT_TRUE(ReadFile(dir + "/run.bin") == expectedBinary) << "binary file differs from " << reference << ".bin";
  std::remove((dir + "/run.csv").c_str());
  std::remove((dir + "/run.bin").c_str());
  std::remove(dir.c_str());
}

INSTANTIATE_TEST_SUITE_P(ShippedModels, GeneratedSimulatorWritesReferenceFiles, ::testing::ValuesIn(AllRuns()),
                         [](const ::testing::TestParamInfo<ReferenceRun>& info) { return Stem(info.param); });
