// The result files and the big-endian writers of the simulator, checked byte for byte.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "SimulatorUnderTest.h"
#include "output/DataPacket.h"

using testsupport::BigEndian;
using testsupport::Bytes;
using testsupport::MakeSimulator;
using testsupport::ReadFile;
using testsupport::ScratchPath;

namespace {

// Three variables: 0 holds 1.0 and 0.5, 1 holds nothing, 2 holds 123.456 and -0.25.
void FillReport(DataPacket& packet) {
  packet.SetObs(0, 0, 1.0);
  packet.SetObs(0, 1, 0.5);
  packet.SetNumObs(0, 2);
  packet.SetObs(2, 0, 123.4560000000);
  packet.SetObs(2, 1, -0.25);
  packet.SetNumObs(2, 2);
}

// The record of FillReport for client 300 (byte 44 = 300 - 256) and experiment 70000
// (4464 = 0x1170): V = 2, D = 4, length 9 + 14 + 32 = 55.
const std::string kRecord = Bytes({0, 0, 0, 55, 44, 0x11, 0x70, 0, 2}) +
                            Bytes({0, 0, 1, 0, 0, 0, 2}) + BigEndian(1.0) + BigEndian(0.5) +
                            Bytes({0, 2, 1, 0, 0, 0, 2}) + BigEndian(123.456) + BigEndian(-0.25);

}  // namespace

TEST(RemoveTrailingZerosRule, KeepsOneDigitAfterThePointForAnyDouble) {
  auto simulator = MakeSimulator();
  char text[SimulatorClass::NumberTextSize];
  const std::pair<double, const char*> cases[] = {
      {1.5, "1.5"}, {2, "2.0"}, {1e-12, "0.0"}, {-3.25, "-3.25"}, {100, "100.0"},
      {123.4560000000, "123.456"}, {0, "0.0"}};
  for (const auto& c : cases) {
    simulator->RemoveTrailingZeros(text, c.first);
    EXPECT_STREQ(text, c.second) << c.first;
  }
  // The largest double, 17976...858368, in fixed point: "-", 309 integer digits and ".0".
  simulator->RemoveTrailingZeros(text, -1.7976931348623157e308);
  EXPECT_EQ(std::strlen(text), 312u);
  EXPECT_EQ(std::string(text).substr(0, 6) + std::string(text).substr(306), "-179768368.0");
}

TEST(AsciiResultFile, HeaderObservationLinesAndTrailer) {
  auto simulator = MakeSimulator();
  simulator->TheExperimentNumber = 3;
  simulator->RandomNumberSeed = 0;  // written as 31415
  simulator->RandomNumberGenerator = static_cast<RandomNumberGeneratorType>(3);
  std::string path = ScratchPath("ascii.csv");
  std::unique_ptr<std::ofstream> file(simulator->CreateAsciiFile(&path[0]));
  ASSERT_NE(file, nullptr);
  DataPacket report(0, 3, 3, 4), squares(0, 3, 3, 4);
  FillReport(report);
  simulator->OutputDataCSV(*file, &report, nullptr);
  std::string start =
      "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=3,SEED=31415,"
      "RANDOMGEN=Unknown\n#FORMAT: (PV ID Number),(PV Value)\n0,1.0\n0,0.5\n2,123.456\n2,-0.25\n";
  EXPECT_EQ(ReadFile(path), start);  // flushed after the report
  simulator->BatchRuns = 1000;
  simulator->CloseAsciiFile(*file);
  EXPECT_EQ(ReadFile(path), start + "#META_DATA,BATCHES=1000\n");
  FillReport(squares);
  std::ostringstream out;
  simulator->OutputDataCSV(out, &report, &squares);
  EXPECT_EQ(out.str(), "0,1.0,1.0\n0,0.5,0.5\n2,123.456,123.456\n2,-0.25,-0.25\n");
}

TEST(ResultFileCreation, UnopenableFileIsReportedAndGivesNoStream) {
  auto simulator = MakeSimulator();
  std::string path = "/nonexistent-dir/out";
  testing::internal::CaptureStderr();
  EXPECT_EQ(simulator->CreateAsciiFile(&path[0]), nullptr);
  EXPECT_EQ(simulator->CreateBinFile(&path[0]), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Unable to open output file /nonexistent-dir/out\n"
            "ERROR: Unable to open output file /nonexistent-dir/out\n");
}

TEST(BinaryResultFile, ClosedBeforeAnyReportIsTheHeaderAlone) {
  auto simulator = MakeSimulator();
  simulator->RandomNumberSeed = 0;
  std::string path = ScratchPath("empty.bin");
  std::unique_ptr<std::ofstream> file(simulator->CreateBinFile(&path[0]));
  simulator->CloseBinFile(*file);
  std::string text =
      "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
      "RANDOMGEN=Lagged Fibonacci,BATCHES=0,,";
  EXPECT_EQ(ReadFile(path), text + std::string(256 - text.size(), '\0'));
}

TEST(BinaryResultFile, RecordsAreAppendedAndTheHeaderRewrittenInPlace) {
  auto simulator = MakeSimulator();
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  simulator->RandomNumberSeed = 8;
  std::string path = ScratchPath("records.bin");
  std::unique_ptr<std::ofstream> file(simulator->CreateBinFile(&path[0]));
  DataPacket report(300, 70000, 3, 4);
  FillReport(report);
  simulator->OutputDataBinary(nullptr, file.get(), &report, nullptr);
  EXPECT_EQ(ReadFile(path).substr(256), kRecord);  // flushed after the record
  simulator->BatchRuns = 12;
  simulator->UpdateBinFileHeader(*file);
  simulator->OutputDataBinary(nullptr, file.get(), &report, nullptr);
  simulator->CloseBinFile(*file);
  std::string all = ReadFile(path);
  EXPECT_EQ(all.substr(0, all.find('\0')),
            "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=70000,SEED=8,"
            "RANDOMGEN=Lagged Fibonacci,BATCHES=12,,");
  EXPECT_EQ(all.substr(256), kRecord + kRecord);
}

TEST(BinaryResultFile, EmptyReportIsNineBytesAndSquaresFollowObservations) {
  auto simulator = MakeSimulator();
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  DataPacket report(300, 70000, 2, 1), squares(300, 70000, 2, 1);
  std::ostringstream out;
  simulator->OutputDataBinary(nullptr, &out, &report, nullptr);
  EXPECT_EQ(out.str(), Bytes({0, 0, 0, 9, 44, 0x11, 0x70, 0, 0}));
  // Observations: variable 1 holds 2.0; squares: variables 0 and 1 hold 9.0 and 4.0.
  // V = 3, D = 3: 9 + 21 + 24 = 54.
  report.SetObs(1, 0, 2.0);
  report.SetNumObs(1, 1);
  squares.SetObs(0, 0, 9.0);
  squares.SetNumObs(0, 1);
  squares.SetObs(1, 0, 4.0);
  squares.SetNumObs(1, 1);
  out.str("");
  simulator->OutputDataBinary(nullptr, &out, &report, &squares);
  EXPECT_EQ(out.str(), Bytes({0, 0, 0, 54, 44, 0x11, 0x70, 0, 3}) + Bytes({0, 1, 1, 0, 0, 0, 1}) +
                           BigEndian(2.0) + Bytes({0, 0, 2, 0, 0, 0, 1}) + BigEndian(9.0) +
                           Bytes({0, 1, 2, 0, 0, 0, 1}) + BigEndian(4.0));
}

TEST(BigEndianWriters, ConversionBufferGrowsForLongRowsAndStaysExact) {
  // 150 values exceed the first buffer of 100; a short row afterwards must not carry
  // bytes of the long one.
  auto simulator = MakeSimulator();
  std::vector<double> row(150);
  std::string expected;
  for (int i = 0; i < 150; i++) expected += BigEndian(row[i] = i + 0.5);
  std::ostringstream out;
  EXPECT_EQ(simulator->Output(nullptr, &out, row.data(), 150), 1200);
  EXPECT_EQ(out.str(), expected);
  out.str("");
  EXPECT_EQ(simulator->Output(nullptr, &out, row.data() + 7, 1), 8);
  EXPECT_EQ(out.str(), BigEndian(7.5));
  double converted = simulator->EndianConvertDouble(1.5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&converted), 8), BigEndian(1.5));
}

TEST(BigEndianWriters, SocketGetsTheFileBytesAndAFailedSendKeepsFileRecordsWhole) {
  auto simulator = MakeSimulator();
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  TavrinSocket listener(true), link(false);
  int port = testsupport::PortBase();
  while (!listener.Bind(port)) port++;
  ASSERT_TRUE(listener.Listen(1));
  testsupport::StandInManager peer;
  ASSERT_TRUE(peer.ConnectTo(port));
  ASSERT_TRUE(listener.Accept(link));
  DataPacket report(300, 70000, 3, 4);
  FillReport(report);
  std::ostringstream out;
  simulator->OutputDataBinary(&link, &out, &report, nullptr);
  EXPECT_EQ(peer.Read(55), kRecord);
  EXPECT_EQ(out.str(), kRecord);
  peer.Close();
  // The first sends may still be taken by the kernel; the peer's reset makes a later one fail.
  int records = 1;
  for (; simulator->SimControl == 0 && records < 200; records++) {
    simulator->OutputDataBinary(&link, &out, &report, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(simulator->SimControl, 2);
  EXPECT_EQ(out.str().size(), records * kRecord.size());
  EXPECT_EQ(simulator->OutputInt(&link, &out, 5), -1);
}
