#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ProcessRunner.h"
#include "output/WireCodec.h"

namespace {

const char kBinHeaderStart[] =
    "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
    "RANDOMGEN=Lagged Fibonacci,";

struct RunFiles {
  ProcessResult run;
  std::string ascii;
  std::string binary;
};

RunFiles RunWithFiles(std::vector<std::string> args, const char* simulator = "l2_cache_sim") {
  std::string dir = MakeTempDir();
  args.insert(args.end(), {"-a", "A", "-b", "B"});
  RunFiles files;
  files.run = RunProgram(simulator, args, dir);
  files.ascii = ReadFile(dir + "/A");
  files.binary = ReadFile(dir + "/B");
  return files;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The data records after the 256-byte header, decoded one after the other.
std::vector<DataRecord> Records(const std::string& binary) {
  std::vector<DataRecord> records;
  size_t at = WireCodec::BinFileHeaderSize;
  while (at < binary.size()) {
    DataRecord record;
    std::string error;
    if (!WireCodec::DecodeDataRecord(binary.data() + at, binary.size() - at, record, error)) {
      ADD_FAILURE() << "record at byte " << at << ": " << error;
      break;
    }
    records.push_back(record);
    at += static_cast<size_t>(record.length);
  }
  return records;
}

std::string HeaderText(const std::string& binary) {
  BinFileHeader header;
  std::string error;
  EXPECT_TRUE(WireCodec::DecodeBinFileHeader(binary.data(), binary.size(), header, error)) << error;
  return header.text;
}

// The report sizes of the records: one kind-1 section of variable 0 each.
std::vector<size_t> ReportSizes(const std::vector<DataRecord>& records) {
  std::vector<size_t> sizes;
  for (const DataRecord& record : records) {
    EXPECT_EQ(record.sections.size(), 1u);
    if (record.sections.empty()) continue;
    EXPECT_EQ(record.sections[0].variable, 0);
    EXPECT_EQ(record.sections[0].kind, 1);
    sizes.push_back(record.sections[0].observations.size());
  }
  return sizes;
}

}  // namespace

// 2500 batches with the default report size 1000: full reports after batches 1000 and
// 2000, the rest (500) at the limit. Records are 9 + 7 + 8 n bytes: 8016, 8016, 4016.
TEST(TerminatingRun, BatchLimitCutsReportsOfTheReportSizeAndARemainder) {
  RunFiles files = RunWithFiles({"-t", "1", "-N", "2500"});
  ASSERT_EQ(files.run.exitCode, 0) << files.run.err;

  EXPECT_EQ(HeaderText(files.binary), std::string(kBinHeaderStart) + "BATCHES=2500,,");
  EXPECT_EQ(files.binary.size(), 256u + 8016 + 8016 + 4016);
  std::vector<DataRecord> records = Records(files.binary);
  EXPECT_EQ(ReportSizes(records), (std::vector<size_t>{1000, 1000, 500}));

  std::vector<std::string> lines = Lines(files.ascii);
  ASSERT_EQ(lines.size(), 2u + 2500 + 1);
  EXPECT_EQ(lines[0],
            "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
            "RANDOMGEN=Lagged Fibonacci");
  EXPECT_EQ(lines[1], "#FORMAT: (PV ID Number),(PV Value)");
  EXPECT_EQ(lines.back(), "#META_DATA,BATCHES=2500");
  // Both files carry the same observations in the same order.
  size_t line = 2;
  for (const DataRecord& record : records)
    for (double value : record.sections[0].observations) {
      ASSERT_EQ(lines[line].compare(0, 2, "0,"), 0) << lines[line];
      EXPECT_NEAR(std::stod(lines[line].substr(2)), value, 1e-10);   // ten decimals
      line++;
    }
}

TEST(TerminatingRun, ReportSizeTwoWithThreeBatchesGivesReportsOfTwoAndOne) {
  RunFiles files = RunWithFiles({"-N", "3", "-n", "2"});
  ASSERT_EQ(files.run.exitCode, 0) << files.run.err;
  EXPECT_EQ(ReportSizes(Records(files.binary)), (std::vector<size_t>{2, 1}));
  EXPECT_EQ(HeaderText(files.binary), std::string(kBinHeaderStart) + "BATCHES=3,,");
  std::vector<std::string> lines = Lines(files.ascii);
  ASSERT_EQ(lines.size(), 2u + 3 + 1);
  EXPECT_EQ(lines.back(), "#META_DATA,BATCHES=3");
}

// The closing lines come after the run, in order, and the entry's line after them.
TEST(TerminatingRun, EndsWithTheClosingLinesAndAGoodExit) {
  RunFiles files = RunWithFiles({"-N", "4"});
  ASSERT_EQ(files.run.exitCode, 0) << files.run.err;
  const std::string& out = files.run.out;
  size_t fired = out.find("\nActions fired: ");
  size_t cpu = out.find("\nCPU time (s): ");
  size_t exit = out.find("\nSIMULATOR::MAIN()-GOOD EXIT\n");
  ASSERT_NE(fired, std::string::npos) << out;
  ASSERT_NE(cpu, std::string::npos) << out;
  ASSERT_NE(exit, std::string::npos) << out;
  EXPECT_LT(fired, cpu);
  EXPECT_LT(cpu, exit);
  EXPECT_EQ(files.run.err, "SIMULATOR::MAIN()-GOOD EXIT\n");
}

// The tandem model's first queue starts with the population, a global. The study's value
// is checked by the generator; one given on the command line that a place cannot hold
// (70000 would wrap to 4464 tokens) or that no place can hold ends the run at set-up.
TEST(TerminatingRun, AnOverriddenInitialMarkingAPlaceCannotHoldEndsTheRun) {
  for (const char* population : {"i:population:70000", "i:population:-2"}) {
    ProcessResult r = RunProgram("tandem_sim", {"-t", "0", "-N", "2", "-O", population}, MakeTempDir());
    EXPECT_EQ(r.exitCode, 1) << population;
    std::string value = std::string(population).substr(13);
    EXPECT_NE(r.err.find("ERROR: MARKING_OUT_OF_RANGE: place queue would start with " + value +
                         " tokens; a place holds a whole number from 0 to 32767 tokens"),
              std::string::npos)
        << r.err;
  }
}

// The tandem model measures only steady-state variables. A terminating batch of it would
// end at time 0 and write a zero for every variable as though observed, and without a
// batch limit it would do so forever; the run instead says there is nothing to simulate
// and hands over only the empty final report.
TEST(TerminatingRun, ModelWithoutTerminatingVariablesRunsNoBatchAndSaysSo) {
  RunFiles files = RunWithFiles({"-t", "1", "-N", "3"}, "tandem_sim");
  ASSERT_EQ(files.run.exitCode, 0) << files.run.err;
  size_t message = files.run.out.find("No terminating performance variables: nothing to simulate.\n");
  ASSERT_NE(message, std::string::npos) << files.run.out;
  EXPECT_NE(files.run.out.find("Actions fired: 0\n", message), std::string::npos) << files.run.out;

  std::vector<DataRecord> records = Records(files.binary);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(records[0].sections.empty());
  EXPECT_EQ(Lines(files.ascii),
            (std::vector<std::string>{
                "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
                "RANDOMGEN=Lagged Fibonacci",
                "#FORMAT: (PV ID Number),(PV Value)", "#META_DATA,BATCHES=0"}));
}
