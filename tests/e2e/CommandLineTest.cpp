#include <gtest/gtest.h>

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

TEST(ResultFileOpening, UnopenableBinaryFileEndsTheRunBeforeSimulating) {
  ProcessResult r = Sim({"-N", "1", "-b", "/nonexistent-dir/out.bin"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "ERROR: Unable to open output file /nonexistent-dir/out.bin\n");
}
