// How a run ends when it is not allowed to finish: stopped by a signal, killed, or unable
// to write its result files. Whatever happens, the files hold only whole observations,
// the readers take them, and the exit status tells what happened.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ProcessRunner.h"
#include "RunningProcess.h"

namespace {

// A terminating mm1k run with no batch limit and small reports, so that reports are
// written all the time; it runs until something stops it.
std::vector<std::string> EndlessRun() {
  return {"-t", "1", "-n", "10", "-a", "A", "-b", "B"};
}

ProcessResult Summary(const std::string& file) {
  return RunProgram("tavrin_summary", {"--csv", file});
}

// The observation count of variable 0 in tavrin_summary's CSV, or -1.
long CountOfVariableZero(const std::string& csv) {
  size_t at = csv.find("\n0,");
  return at == std::string::npos ? -1 : std::stol(csv.substr(at + 3));
}

long TrailerBatches(const std::string& ascii) {
  size_t at = ascii.rfind("#META_DATA,BATCHES=");
  return at == std::string::npos ? -1 : std::stol(ascii.substr(at + 19));
}

}  // namespace

// SIGINT and SIGTERM end the batch in progress, write every report held, close both files
// whole and exit with 128 + the signal: both files read without a warning, and agree.
TEST(RunStoppedBySignal, BothFilesAreClosedWholeAndTheStatusNamesTheSignal) {
  for (int signo : {SIGTERM, SIGINT}) {
    std::string dir = MakeTempDir();
    RunningProcess sim("mm1k_sim", EndlessRun(), dir);
    ASSERT_NE(sim.WaitForLine("SIMULATOR::Preparing to run()", 10000), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sim.Signal(signo);
    ProcessResult r = sim.Finish(20000);
    EXPECT_EQ(r.exitCode, 128 + signo) << r.err;
    EXPECT_NE(r.err.find("SIMULATOR: stopped by signal " + std::to_string(signo)),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("GOOD EXIT"), std::string::npos);

    std::string ascii = ReadFile(dir + "/A");
    long batches = TrailerBatches(ascii);
    EXPECT_GT(batches, 0) << ascii.substr(ascii.size() > 200 ? ascii.size() - 200 : 0);
    ProcessResult fromAscii = Summary(dir + "/A");
    ProcessResult fromBinary = Summary(dir + "/B");
    EXPECT_EQ(fromAscii.exitCode, 0) << fromAscii.err;
    EXPECT_EQ(fromBinary.exitCode, 0) << fromBinary.err;
    EXPECT_EQ(fromAscii.err, "");
    EXPECT_EQ(fromBinary.err, "");
    EXPECT_EQ(CountOfVariableZero(fromAscii.out), batches);
    EXPECT_EQ(CountOfVariableZero(fromBinary.out), batches);
  }
}

// A steady-state run stops at the next step: every observation completed so far is
// written, as many to each file.
TEST(RunStoppedBySignal, SteadyStateRunWritesTheObservationsItCompleted) {
  std::string dir = MakeTempDir();
  RunningProcess sim("md1_sim", {"-t", "0", "-n", "10", "-a", "A", "-b", "B"}, dir);
  ASSERT_NE(sim.WaitForLine("SIMULATOR::Preparing to run()", 10000), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  sim.Signal(SIGTERM);
  ProcessResult r = sim.Finish(20000);
  EXPECT_EQ(r.exitCode, 143) << r.err;
  EXPECT_EQ(TrailerBatches(ReadFile(dir + "/A")), 0);   // steady-state runs count no batches
  ProcessResult fromAscii = Summary(dir + "/A");
  ProcessResult fromBinary = Summary(dir + "/B");
  EXPECT_EQ(fromAscii.exitCode, 0) << fromAscii.err;
  EXPECT_EQ(fromAscii.err, "");
  EXPECT_EQ(fromBinary.err, "");
  EXPECT_GT(CountOfVariableZero(fromAscii.out), 0) << fromAscii.out;
  EXPECT_EQ(CountOfVariableZero(fromAscii.out), CountOfVariableZero(fromBinary.out));
}

// A signal while the simulator waits for its manager ends the wait at once.
TEST(RunStoppedBySignal, SignalDuringTheWaitForTheManagerEndsIt) {
  std::string dir = MakeTempDir();
  RunningProcess sim("l2_cache_sim", {"-w", "-N", "5", "-a", "A"}, dir);
  ASSERT_NE(sim.WaitForLine("REGISTER:  Port: [", 10000), "");
  auto start = std::chrono::steady_clock::now();
  sim.Signal(SIGTERM);
  ProcessResult r = sim.Finish(20000);
  EXPECT_EQ(r.exitCode, 143) << r.err;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(TrailerBatches(ReadFile(dir + "/A")), 0);
}

// SIGKILL leaves no chance to close anything: the readers take every whole observation
// and warn of what is missing instead of refusing the files.
TEST(RunKilled, ReadersTakeEveryWholeObservationWithAWarning) {
  std::string dir = MakeTempDir();
  RunningProcess sim("mm1k_sim", EndlessRun(), dir);
  ASSERT_NE(sim.WaitForLine("SIMULATOR::Preparing to run()", 10000), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  sim.Signal(SIGKILL);
  sim.Finish(10000);

  ProcessResult fromAscii = Summary(dir + "/A");
  EXPECT_EQ(fromAscii.exitCode, 0) << fromAscii.err;
  EXPECT_NE(fromAscii.err.find("warning: " + dir + "/A: no #META_DATA trailer"), std::string::npos)
      << fromAscii.err;
  EXPECT_GT(CountOfVariableZero(fromAscii.out), 0) << fromAscii.out;
  ProcessResult fromBinary = Summary(dir + "/B");
  EXPECT_EQ(fromBinary.exitCode, 0) << fromBinary.err;
  EXPECT_GT(CountOfVariableZero(fromBinary.out), 0) << fromBinary.out;
  ProcessResult dump = RunProgram("tavrin_dump", {dir + "/B"});
  EXPECT_EQ(dump.exitCode, 0) << dump.err;
}

// A device that takes no byte: the run is refused at the first write, not reported done.
TEST(ResultFileUnwritable, FullDeviceIsReportedAndTheRunFails) {
  for (const char* option : {"-a", "-b"}) {
    ProcessResult r = RunProgram("l2_cache_sim", {"-N", "10", option, "/dev/full"}, MakeTempDir());
    EXPECT_EQ(r.exitCode, 1) << option;
    EXPECT_NE(r.err.find("ERROR: Unable to write result file /dev/full: No space left on device"),
              std::string::npos)
        << option << ": " << r.err;
  }
}

// A file system that fills up in the middle of the run (here a file-size limit): the run
// stops with exit status 1 and a message, and each file is cut back to whole lines and
// records, which the readers take without finding a cut.
TEST(ResultFileUnwritable, FileSystemFillingUpMidRunKeepsWhatWasWrittenWhole) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-t", "1", "-N", "1000000", "-n", "1000", "-a",
                                                "A", "-b", "B"},
                               dir, {}, 20000);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("ERROR: Unable to write result file "), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("GOOD EXIT"), std::string::npos);

  std::string ascii = ReadFile(dir + "/A");
  ASSERT_FALSE(ascii.empty());
  EXPECT_EQ(ascii.back(), '\n');
  ProcessResult fromAscii = Summary(dir + "/A");
  EXPECT_EQ(fromAscii.exitCode, 0) << fromAscii.err;
  EXPECT_EQ(fromAscii.err.find("has no line end"), std::string::npos) << fromAscii.err;

  std::string binary = ReadFile(dir + "/B");
  EXPECT_EQ((binary.size() - 256) % (9 + 7 + 8 * 1000), 0u) << binary.size();
  ProcessResult dump = RunProgram("tavrin_dump", {dir + "/B"});
  EXPECT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(dump.err, "");
}

// A replicate of more copies than the memory allowed to the run (here a limit of 300 MB on
// its address space) ends the run at set-up with the memory message and status 1, not
// with an abort. The sanitizers reserve more address space than such a limit leaves.
TEST(RunOutOfMemory, AModelTooLargeForTheMemoryEndsWithTheMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address-space limit cannot be set under AddressSanitizer";
#endif
  std::string command = "ulimit -v 300000; exec " + BinPath("cells_sim") + " -t 1 -N 1 -O i:n:20000000";
  ProcessResult r = RunProgram("/bin/sh", {"-c", command}, MakeTempDir());
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("Insufficient Memory to allocate dynamic data structures from heap memory\nExiting program..."),
            std::string::npos)
      << r.err;
}
