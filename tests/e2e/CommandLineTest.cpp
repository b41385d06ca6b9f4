#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>

#include "ProcessRunner.h"

namespace {

const char kUsage[] =
    "Valid Options\n"
    "-a <name>: write ASCII output to file <name>\n"
    "-b <name>: write binary output to file <name>\n"
    "-c <num>: Client identification number (default=0)\n"
    "-e <num>: Experiment to run, 'Experiment 1' is num=0 (default = 0)\n"
    "-f <name>: Trace file name (default=<stdout>)\n"
    "-m: Enable Tavrin trace \n"
    "-l <num>: Trace Level (1, 2,3,4 [default=1])\n"
    "-x: Enable XML trace \n"
    "-n <num>: Num observations sent in 1 update to SimMgr. (default=1000)\n"
    "-N <num>: Maximum number of batches to run (default=infinite)\n"
    "-p <num>: Communication port of network server (default=10000)\n"
    "-r <num>: Random Number Generator (0 = Lagged Fibonacci[default], 1 = Tausworthe, 2 = "
    "Mersenne Twister\n"
    "-s <num>: Random Number Seed (31415[default])\n"
    "-t <num>: Simulation Type (1 = Terminating[default] 0 = Steady State)\n"
    "-w: Simulator will wait to send output until socket connection is established.\n"
    "\n";

const char kParseError[] = "ERROR: Parsing command line options\n";

ProcessResult Sim(const std::vector<std::string>& args) {
  return RunProgram("l2_cache_sim", args, MakeTempDir());
}

// A failed parse prints its own message (if any), the usage text and the parse error line.
void ExpectParseFailure(const ProcessResult& r, const std::string& message) {
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, message + kUsage + kParseError);
}

}  // namespace

TEST(CommandLineFailures, NoOptionsAtAllIsRejected) {
  ProcessResult r = Sim({});
  ExpectParseFailure(r, "ERROR: No command line options specified\n");
  EXPECT_EQ(r.out, "");
}

TEST(CommandLineFailures, WordOf128BytesIsAcceptedAnd129IsNot) {
  std::string name128 = "-a" + std::string(126, 'x');
  ProcessResult ok = Sim({name128, "-N", "1"});
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_NE(ok.out.find("ASCIIFilename: " + name128.substr(2) + "\n"), std::string::npos);

  ProcessResult tooLong = Sim({"-a" + std::string(127, 'x')});
  ExpectParseFailure(tooLong, "ERROR: Command Line Argument Too Long, Limited to 128 Characters\n");
}

TEST(CommandLineFailures, ParameterTakenFromTheNextWordIsNotMeasured) {
  ProcessResult r = Sim({"-O", "d:" + std::string(200, 'v') + ":1", "-N", "1"});
  EXPECT_EQ(r.err.find("Too Long"), std::string::npos);
}

TEST(CommandLineFailures, MissingParameterNamesTheOption) {
  ExpectParseFailure(Sim({"-s"}), "Expect a parameter after '-s'\n");
  ExpectParseFailure(Sim({"-s", "-t", "1"}), "Expect a parameter after '-s'\n");
  ExpectParseFailure(Sim({"-t", "1", "-O"}), "Expect a parameter after '-O'\n");
}

TEST(CommandLineFailures, FlagFollowedByAWordTakesItAsAParameterAndFails) {
  ExpectParseFailure(Sim({"-m", "stray"}), "Did not expect a parameter after '-m'\n");
  ExpectParseFailure(Sim({"-wyes"}), "Did not expect a parameter after '-w'\n");
}

TEST(CommandLineFailures, UnknownLetterQuotesTheWholeWord) {
  ExpectParseFailure(Sim({"-t", "1", "-qfoo"}), "ERROR: Unrecognized Command Line option: -qfoo\n");
}

TEST(CommandLineFailures, GeneratorOutsideRangeFailsWithoutAMessageOfItsOwn) {
  ProcessResult r = Sim({"-r", "3"});
  ExpectParseFailure(r, "");
  EXPECT_EQ(r.out, "");
}

TEST(CommandLineFailures, ReportSizeBelowOneIsRejected) {
  ExpectParseFailure(Sim({"-n", "0"}), "ERROR: Report size must be at least 1\n");
  ExpectParseFailure(Sim({"-n", "-5"}), "Expect a parameter after '-n'\n");
  ExpectParseFailure(Sim({"-n-5"}), "ERROR: Report size must be at least 1\n");
}

TEST(CommandLineConfirmations, EachOptionConfirmsWhatItStored) {
  ProcessResult r = Sim({"-r", "2", "-p", "70000", "-s", "7", "stray", "-c", "3", "-N", "1",
                         "-n", "5", "-e", "0", "-t", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string expected =
      "Random Number Generator: Mersenne Twister\n"
      "Port: 4464\n"           // 70000 - 65536 in 16 bits
      "Random Number Seed: 7\n"
      "ClientID: 3\n"
      "Max Number of Batches: 1\n"
      "ReportSize: 5\n"
      "Experiment: 0\n"
      "Is Terminating Simulation: 1\n";
  EXPECT_EQ(r.out.substr(0, expected.size()), expected);
}

TEST(CommandLineConfirmations, ParameterWrittenDirectlyAfterTheLetterIsTaken) {
  ProcessResult r = Sim({"-N1", "-s42"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Max Number of Batches: 1\nRandom Number Seed: 42\n", 0), 0u);
}

TEST(CommandLineConfirmations, LaterOptionOverridesAnEarlierOne) {
  ProcessResult r = Sim({"-N", "7", "-N", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Max Number of Batches: 7\nMax Number of Batches: 1\n"), std::string::npos);
}

TEST(CommandLineTraceFlags, TraceFileAloneTurnsOnThePlainTextTrace) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-f", "tr", "-N", "1"}, dir);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(ReadFile(dir + "/tr.txt").empty());
  EXPECT_TRUE(ReadFile(dir + "/tr.xml").empty());
}

TEST(CommandLineTraceFlags, TraceFileWithXmlGivesOnlyTheXmlTrace) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-f", "tr", "-x", "-N", "1"}, dir);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(ReadFile(dir + "/tr.txt").empty());
  EXPECT_FALSE(ReadFile(dir + "/tr.xml").empty());
}

TEST(CommandLineTraceFlags, TraceLevelAloneTracesToTheStandardOutput) {
  ProcessResult r = Sim({"-l", "3", "-N", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  size_t confirmation = r.out.find("TraceLevel: 3\n");
  ASSERT_NE(confirmation, std::string::npos);
  EXPECT_NE(r.out.find("Adding cout: \n", confirmation), std::string::npos);
  EXPECT_NE(r.out.find("##### NEW BATCH #####"), std::string::npos);
}

TEST(CommandLineTraceFlags, NoTraceWithoutTraceOptions) {
  ProcessResult r = Sim({"-N", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.find("Adding cout: "), std::string::npos);
}

TEST(ResultFileOpening, UnopenableAsciiFileEndsTheRunBeforeSimulating) {
  ProcessResult r = Sim({"-N", "1", "-a", "/nonexistent-dir/out.csv"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "ERROR: Unable to open output file /nonexistent-dir/out.csv\n");
  EXPECT_EQ(r.out.find("SIMULATOR::Preparing to run()"), std::string::npos);
}

// The files are emptied only once the run is sure to start: a run refused at set-up keeps
// the results of the run before it.
TEST(ResultFileOpening, ARunRefusedAtSetUpLeavesTheFilesOfAnEarlierRun) {
  std::string dir = MakeTempDir();
  ProcessResult first = RunProgram("mm1k_sim", {"-N", "3", "-a", "keep.csv", "-b", "keep.bin"}, dir);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  std::string ascii = ReadFile(dir + "/keep.csv");
  std::string binary = ReadFile(dir + "/keep.bin");
  ProcessResult refused =
      RunProgram("mm1k_sim", {"-N", "3", "-a", "keep.csv", "-b", "keep.bin", "-O", "d:lamda:0.5"}, dir);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(ReadFile(dir + "/keep.csv"), ascii);
  EXPECT_EQ(ReadFile(dir + "/keep.bin"), binary);
}

TEST(ResultFileOpening, UnopenableBinaryFileEndsTheRunBeforeSimulating) {
  ProcessResult r = Sim({"-N", "1", "-b", "/nonexistent-dir/out.bin"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "ERROR: Unable to open output file /nonexistent-dir/out.bin\n");
}

// A report size beyond an int used to wrap to 0 or below after the range check, and the
// packets were then indexed past their end.
TEST(CommandLineFailures, ReportSizeBeyondAnIntIsRejected) {
  ExpectParseFailure(Sim({"-t", "1", "-N", "5", "-n", "2147483648"}),
                     "ERROR: Report size must be at most 2147483647\n");
  ExpectParseFailure(Sim({"-t", "0", "-n", "4294967296"}),
                     "ERROR: Report size must be at most 2147483647\n");
}

// Ports and client numbers keep their stated conversions: only -n is range-checked.
TEST(CommandLineConfirmations, PortAndClientKeepTheirWrappingConversions) {
  ProcessResult r = Sim({"-p", "70000", "-c", "300", "-N", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Port: 4464\nClientID: 300\n"), std::string::npos);
}

TEST(CommandLineListenAddress, AddressIsConfirmedAndAnythingElseIsAParseFailure) {
  ProcessResult r = Sim({"-L", "0.0.0.0", "-N", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Listen Address: 0.0.0.0\nMax Number of Batches: 1\n", 0), 0u);
  ExpectParseFailure(Sim({"-N", "1", "-L"}), "Expect a parameter after '-L'\n");
  ExpectParseFailure(Sim({"-L", "localhost"}),
                     "ERROR: Listen address 'localhost' is not an IPv4 address (a.b.c.d)\n");
  ExpectParseFailure(Sim({"-L256.1.1.1"}),
                     "ERROR: Listen address '256.1.1.1' is not an IPv4 address (a.b.c.d)\n");
}

// A report that cannot fit in memory is refused with a message before any batch runs,
// instead of ending in an uncaught allocation failure.
TEST(ReportSizing, ReportTooLargeForTheMachineIsRefused) {
  // Six variables of 2^31 - 1 observations: 96 GiB per packet.
  ProcessResult r = RunProgram("mm1k_sim", {"-t", "0", "-N", "1", "-n", "2147483647"},
                               MakeTempDir(), {"ASAN_OPTIONS=allocator_may_return_null=1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ERROR: Unable to allocate reports of 2147483647 observations for 6 "
                       "performance variables"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.out.find("Actions fired"), std::string::npos);
}

// A terminating run of 3 batches with room for 10^8 observations per report used to take
// 1.6 GB; its packets now hold no more than the 3 batches.
TEST(ReportSizing, PacketsOfATerminatingRunHoldNoMoreThanItsBatchLimit) {
  std::string dir = MakeTempDir();
  struct rusage before;
  getrusage(RUSAGE_CHILDREN, &before);
  ProcessResult r = RunProgram("l2_cache_sim", {"-t", "1", "-N", "3", "-n", "100000000", "-a",
                                                "out.csv"},
                               dir);
  struct rusage after;
  getrusage(RUSAGE_CHILDREN, &after);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // ru_maxrss is the largest child so far (KiB): it grows only if this run was the largest.
  EXPECT_LT(after.ru_maxrss, 400 * 1024);
  std::string csv = ReadFile(dir + "/out.csv");
  EXPECT_NE(csv.find("#META_DATA,BATCHES=3\n"), std::string::npos);
}

// The experiment selects a row of the study's tables: one past the end read beyond them.
TEST(StudySelection, ExperimentBeyondTheStudyIsRefusedBeforeSimulating) {
  ProcessResult mm1k = RunProgram("mm1k_sim", {"-e", "4", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(mm1k.exitCode, 1);
  EXPECT_NE(mm1k.err.find("ERROR: Experiment 4 asked for (-e), but the study has 4 experiments, "
                          "numbered from 0"),
            std::string::npos)
      << mm1k.err;
  EXPECT_EQ(mm1k.out.find("SIMULATOR::Preparing to run()"), std::string::npos);

  ProcessResult md1 = RunProgram("md1_sim", {"-t", "0", "-e", "2", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(md1.exitCode, 1);
  EXPECT_NE(md1.err.find("ERROR: Experiment 2 asked for (-e), but the study has 2 experiments"),
            std::string::npos)
      << md1.err;
}

// A study without global variables has nothing to select: the number only labels results.
TEST(StudySelection, StudyWithoutGlobalsAcceptsAnyExperimentNumber) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-e", "70000", "-N", "1", "-a", "out.csv"}, dir);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadFile(dir + "/out.csv").find("EXPERIMENTS=70000,"), std::string::npos);
}

TEST(StudySelection, OverrideWithTheWrongTypeLetterIsRefused) {
  ProcessResult asInt = RunProgram("mm1k_sim", {"-O", "i:lambda:1", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(asInt.exitCode, 1);
  EXPECT_NE(asInt.err.find("ERROR: Override of global variable lambda of type double given with "
                           "type letter 'i' (int)"),
            std::string::npos)
      << asInt.err;
  EXPECT_EQ(asInt.out.find("SIMULATOR::Preparing to run()"), std::string::npos);

  ProcessResult asDouble = RunProgram("mm1k_sim", {"-O", "d:K:20", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(asDouble.exitCode, 1);
  EXPECT_NE(asDouble.err.find("global variable K of type int given with type letter 'd'"),
            std::string::npos);

  ProcessResult matching = RunProgram("mm1k_sim", {"-O", "i:K:20", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(matching.exitCode, 0) << matching.err;
  EXPECT_NE(matching.out.find("Overriding global variables in simulator\n"), std::string::npos);
}

// A window the run cannot observe is refused before anything runs, naming the variable: a
// steady-state batch of no length used to cut batches at one instant without end, writing
// zeros until the disk was full; an interval that ends before it starts gave silent zeros.
TEST(StudySelection, RewardWindowsThatCannotBeObservedAreRefused) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"-t", "0", "-O", "d:batchLength:0"},
       "ERROR: reward variable NumberInSystem: its batch length is not positive (start 1000, stop 1000)"},
      {{"-t", "0", "-O", "d:batchLength:-5"}, "its batch length is not positive"},
      {{"-t", "0", "-O", "d:transient:-1"}, "its initial transient is negative"},
      {{"-t", "1", "-O", "d:horizon:-1"},
       "ERROR: reward variable MeanNumberInSystem: its interval ends before it starts (start 0, stop -1)"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-e", "1", "-N", "3", "-a", "out.csv"});
    std::string dir = MakeTempDir();
    ProcessResult r = RunProgram("mm1k_sim", args, dir);
    EXPECT_EQ(r.exitCode, 1) << c.args[3];
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("SIMULATOR::Preparing to run()"), std::string::npos) << c.args[3];
  }
}

// A name the study does not have, or a value that is not wholly a number, would leave the
// global at the experiment's value: the run is refused instead of measuring another model.
TEST(StudySelection, OverrideOfAnUnknownGlobalOrWithABadValueIsRefused) {
  ProcessResult unknown = RunProgram("mm1k_sim", {"-O", "d:lamda:0.5", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("Global Variable lamda does not exist."), std::string::npos) << unknown.err;
  EXPECT_NE(unknown.err.find("ERROR: the global variable overrides (-O) could not all be applied"),
            std::string::npos)
      << unknown.err;
  EXPECT_EQ(unknown.out.find("SIMULATOR::Preparing to run()"), std::string::npos);

  ProcessResult comma = RunProgram("mm1k_sim", {"-O", "d:lambda:0,5", "-N", "1"}, MakeTempDir());
  EXPECT_EQ(comma.exitCode, 1);
  EXPECT_NE(comma.err.find("'0,5' is not a value of type double"), std::string::npos) << comma.err;
}
