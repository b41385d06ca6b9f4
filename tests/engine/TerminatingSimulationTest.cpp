#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RunModels.h"
#include "random/LaggedFibonacci.h"
#include "random/RandomNumberGenerator.h"

using namespace runtest;

namespace {

VariableRecipe CountAt(double time) { return {"CountAt", INSTANT_OF_TIME, terminating, time, time}; }

std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Everything after the first line, which names the generator.
std::string AfterFirstLine(const std::string& text) { return text.substr(text.find('\n') + 1); }

}  // namespace

// Tick every 1: it fires at 1, 2 and exactly at the stop time 3, so Count is 3 there; the
// tick due at 4 is dropped with the batch. Two batches: 6 firings, 3 and 3.
TEST(TerminatingSimulation, EventExactlyAtTheStopTimeFiresAndALaterOneDoesNot) {
  RunSettings settings;
  std::string ascii = ScratchFile("stop.csv");
  auto sim = BuildRun(settings, {CountAt(3.0)}, {"-N", "2", "-a", ascii});
  std::string out = RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 6);
  EXPECT_EQ(sim->BatchRuns, 2);
  EXPECT_NE(out.find("Actions fired: 6\nCPU time (s): "), std::string::npos) << out;
  sim.reset();
  EXPECT_EQ(AsciiObservations(ascii, 1)[0], (std::vector<double>{3.0, 3.0}));
}

// Tick is exponential and watched for reactivation, so at each batch end it is in the
// reactivation list with Count above 0. Each batch's first draw (at time 0) must see
// Count 0, an empty list and Tick's flag cleared; and the draws of all batches together
// are one uninterrupted stream from the seed. (The Mersenne Twister restarts its stream
// when seeded again; the lagged-Fibonacci read position is process-wide and does not.)
TEST(TerminatingSimulation, EveryBatchStartsFromTheSameStateAndTheStreamContinues) {
  RunSettings settings;
  settings.exponential = true;
  settings.watched = true;
  auto sim = BuildRun(settings, {CountAt(5.0)}, {"-N", "3", "-s", "7", "-r", "2"});
  RunAndCapture(*sim);
  const RunSettings& seen = Settings();
  ASSERT_EQ(seen.starts.size(), 3u);
  for (const BatchStart& start : seen.starts) {
    EXPECT_EQ(start.count, 0);
    EXPECT_EQ(start.watched, 0u);
    EXPECT_FALSE(start.reactivation);
  }
  EXPECT_GT(seen.samples.size(), 3u);
  TheDistribution->RNG->srnd(7);
  for (size_t i = 0; i < seen.samples.size(); i++)
    EXPECT_EQ(seen.samples[i], TheDistribution->Exponential(1.0)) << "draw " << i;
  delete TheDistribution->RNG;   // later tests expect the generator of a fresh process
  TheDistribution->RNG = new LaggedFibonacci();
}

// Each run is made in a child process, so that it starts from the state the program
// starts from, as separate runs of a simulator do. The same seed and generator give the
// same files byte for byte; another generator gives other observations (beyond the
// header line that names it).
TEST(TerminatingSimulation, SameSeedAndGeneratorGiveIdenticalFilesOtherGeneratorsDiffer) {
  RunSettings settings;
  settings.exponential = true;
  auto files = [&](const std::string& generator, const std::string& tag) {
    std::string ascii = ScratchFile(tag + ".csv"), binary = ScratchFile(tag + ".bin");
    std::remove(ascii.c_str());
    std::remove(binary.c_str());
    pid_t child = fork();
    if (child == 0) {
      auto sim = BuildRun(settings, {CountAt(5.0)},
                          {"-N", "20", "-n", "7", "-s", "11", "-r", generator, "-a", ascii,
                           "-b", binary});
      RunAndCapture(*sim);
      sim.reset();
      _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::vector<std::string>{Slurp(ascii), Slurp(binary)};
  };
  std::vector<std::vector<std::string>> runs[3];
  for (int g = 0; g < 3; g++)
    for (int again = 0; again < 2; again++)
      runs[g].push_back(files(std::to_string(g), "gen" + std::to_string(g) + "_" + std::to_string(again)));
  for (int g = 0; g < 3; g++) {
    ASSERT_FALSE(runs[g][0][0].empty());
    EXPECT_EQ(runs[g][0], runs[g][1]) << "generator " << g;
  }
  EXPECT_NE(AfterFirstLine(runs[0][0][0]), AfterFirstLine(runs[1][0][0]));
  EXPECT_NE(AfterFirstLine(runs[0][0][0]), AfterFirstLine(runs[2][0][0]));
  EXPECT_NE(AfterFirstLine(runs[1][0][0]), AfterFirstLine(runs[2][0][0]));
}

// A steady-state variable beside the terminating one has no say in a terminating run: its
// first window would reach 100, but the batches end at the terminating variable's 3.
TEST(TerminatingSimulation, SteadyStateVariablesDoNotLengthenTheBatches) {
  RunSettings settings;
  std::string ascii = ScratchFile("mixed.csv");
  VariableRecipe steady = {"Average", TIMEAVE_INTERVAL_OF_TIME, steady_state, 0.0, 100.0};
  auto sim = BuildRun(settings, {steady, CountAt(3.0)}, {"-N", "2", "-a", ascii});
  RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 6);
  sim.reset();
  EXPECT_EQ(AsciiObservations(ascii, 2)[1], (std::vector<double>{3.0, 3.0}));
}

// Identifiers follow construction order and are handed out only by the study's models
// while the simulator is built (here RUN's Tick and the reward model's two own actions),
// so a model's numbering, and the action ids of its traces, is that of its generated
// code; the action the run loop starts each batch with takes the next number.
TEST(TerminatingSimulation, BuildingTheSimulatorNumbersOnlyTheModelsActions) {
  int first = BaseActionClass::getMaxID();
  RunSettings settings;
  auto sim = BuildRun(settings, {CountAt(1.0)}, {"-N", "1"});
  EXPECT_EQ(BaseActionClass::getMaxID(), first + 3);
  EXPECT_EQ(static_cast<RunSAN*>(sim->TheModel->TheModel)->Tick.getID(), first);
  RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 1);
  EXPECT_EQ(BaseActionClass::getMaxID(), first + 4);
}

// A firing that takes no time and enables itself again holds the clock still for ever. The
// run notices that 2^24 firings went by at one instant of one batch and ends, naming the
// activity, instead of spinning until it is killed.
TEST(TerminatingSimulationDeathTest, ClockThatNeverAdvancesEndsTheRun) {
  RunSettings settings;
  settings.delay = 0.0;
  settings.frozen = true;
  EXPECT_EXIT(
      {
        auto sim = BuildRun(settings, {CountAt(1.0)}, {"-N", "2"});
        RunAndCapture(*sim);
      },
      testing::ExitedWithCode(1),
      "ERROR: ZERO_TIME_LOOP: 16777216 firings at time 0 without the clock advancing, the last of "
      "activity Tick");
}
