#include <gtest/gtest.h>

#include <string>

#include "ProcessRunner.h"
#include "output/WireCodec.h"

// The example model measures only a terminating variable, so a steady-state run has
// nothing to cut into batches: it says so, hands over the empty final report (a record of
// 9 bytes: length, client, experiment, no section) and ends normally.
TEST(SteadyStateRun, ModelWithoutSteadyStateVariablesEndsNormallyWithAnEmptyReport) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-t", "0", "-a", "A", "-b", "B"}, dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "SIMULATOR::MAIN()-GOOD EXIT\n");
  size_t message = r.out.find("No steady-state performance variables: nothing to simulate.\n");
  ASSERT_NE(message, std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Actions fired: 0\nCPU time (s): ", message), std::string::npos) << r.out;

  std::string binary = ReadFile(dir + "/B");
  ASSERT_EQ(binary.size(), 256u + 9);
  DataRecord record;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeDataRecord(binary.data() + 256, 9, record, error)) << error;
  EXPECT_TRUE(record.sections.empty());
  EXPECT_NE(binary.find("BATCHES=0,,"), std::string::npos);

  EXPECT_EQ(ReadFile(dir + "/A"),
            "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
            "RANDOMGEN=Lagged Fibonacci\n"
            "#FORMAT: (PV ID Number),(PV Value)\n"
            "#META_DATA,BATCHES=0\n");
}
