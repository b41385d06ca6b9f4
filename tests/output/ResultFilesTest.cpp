// The result files and the big-endian writers of the simulator, checked byte for byte.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <thread>

#include "SimulatorForTests.h"
#include "output/DataPacket.h"
#include "output/WireCodec.h"

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
  packet.SetNumObs(1, 0);
  packet.SetObs(2, 0, 123.4560000000);
  packet.SetObs(2, 1, -0.25);
  packet.SetNumObs(2, 2);
}

std::string HeaderText(const std::string& file) {
  std::string header = file.substr(0, 256);
  return header.substr(0, header.find('\0'));
}

}  // namespace

TEST(RemoveTrailingZerosRule, KeepsOneDigitAfterThePoint) {
  auto simulator = MakeSimulator();
  char text[SimulatorClass::NumberTextSize];
  const std::pair<double, const char*> cases[] = {
      {1.5, "1.5"},   {2, "2.0"},         {0.1, "0.1"},      {1e-12, "0.0"},
      {-3.25, "-3.25"}, {100, "100.0"},   {1.0, "1.0"},      {0.5, "0.5"},
      {123.4560000000, "123.456"},        {0, "0.0"},        {-0.25, "-0.25"}};
  for (const auto& c : cases) {
    simulator->RemoveTrailingZeros(text, c.first);
    EXPECT_STREQ(text, c.second) << c.first;
  }
}

TEST(RemoveTrailingZerosRule, LargestDoublesKeepTheRuleWithoutOverrun) {
  // -1.797...e308 in fixed point: "-", 309 integer digits, ".0" once the zeros are gone.
  auto simulator = MakeSimulator();
  char text[SimulatorClass::NumberTextSize];
  simulator->RemoveTrailingZeros(text, -1.7976931348623157e308);
  EXPECT_EQ(std::strlen(text), 1u + 309u + 2u);
  EXPECT_EQ(std::string(text).substr(0, 5), "-1797");
  EXPECT_EQ(std::string(text).substr(std::strlen(text) - 2), ".0");
}

TEST(AsciiResultFile, HeaderObservationLinesAndTrailer) {
  auto simulator = MakeSimulator();
  simulator->TheExperimentNumber = 3;
  simulator->RandomNumberSeed = 0;  // written as 31415
  simulator->RandomNumberGenerator = static_cast<RandomNumberGeneratorType>(3);
  std::string path = ScratchPath("ascii.csv");
  std::ofstream* file = simulator->CreateAsciiFile(&path[0]);
  ASSERT_NE(file, nullptr);
  DataPacket report(0, 3, 3, 4);
  FillReport(report);
  simulator->OutputDataCSV(*file, &report, nullptr);
  EXPECT_EQ(ReadFile(path),  // flushed after the report
            "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=3,SEED=31415,"
            "RANDOMGEN=Unknown\n#FORMAT: (PV ID Number),(PV Value)\n0,1.0\n0,0.5\n2,123.456\n"
            "2,-0.25\n");
  simulator->BatchRuns = 1000;
  simulator->CloseAsciiFile(*file);
  delete file;
  std::string all = ReadFile(path);
  EXPECT_EQ(all.substr(all.size() - 25), "\n#META_DATA,BATCHES=1000\n");
}

TEST(AsciiResultFile, SquaresFollowAsAThirdField) {
  auto simulator = MakeSimulator();
  DataPacket report(0, 0, 3, 4);
  DataPacket squares(0, 0, 3, 4);
  FillReport(report);
  squares.SetObs(0, 0, 1.0);
  squares.SetObs(0, 1, 0.25);
  squares.SetObs(2, 0, 4.0);
  squares.SetObs(2, 1, 0.0625);
  std::ostringstream out;
  simulator->OutputDataCSV(out, &report, &squares);
  EXPECT_EQ(out.str(), "0,1.0,1.0\n0,0.5,0.25\n2,123.456,4.0\n2,-0.25,0.0625\n");
}

TEST(AsciiResultFile, UnopenableFileIsReportedAndGivesNoStream) {
  auto simulator = MakeSimulator();
  std::string path = "/nonexistent-dir/out.csv";
  testing::internal::CaptureStderr();
  EXPECT_EQ(simulator->CreateAsciiFile(&path[0]), nullptr);
  EXPECT_EQ(simulator->CreateBinFile(&path[0]), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Unable to open output file /nonexistent-dir/out.csv\n"
            "ERROR: Unable to open output file /nonexistent-dir/out.csv\n");
}

TEST(BinaryResultFile, ClosedBeforeAnyReportIsTheHeaderAlone) {
  auto simulator = MakeSimulator();
  simulator->TheExperimentNumber = 0;
  simulator->RandomNumberSeed = 0;
  simulator->RandomNumberGenerator = LAGGED_FIBONACCI;
  std::string path = ScratchPath("empty.bin");
  std::ofstream* file = simulator->CreateBinFile(&path[0]);
  ASSERT_NE(file, nullptr);
  simulator->CloseBinFile(*file);
  delete file;
  std::string text =
      "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
      "RANDOMGEN=Lagged Fibonacci,BATCHES=0,,";
  EXPECT_EQ(ReadFile(path), text + std::string(256 - text.size(), '\0'));
}

TEST(BinaryResultFile, RecordLayoutAndHeaderRewrittenInPlace) {
  // Client 300 -> byte 44 (300 - 256); experiment 70000 -> 4464 = 0x1170. Sections for
  // variables 0 and 2 only: V = 2, D = 4, length 9 + 14 + 32 = 55 = 0x37.
  auto simulator = MakeSimulator();
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  simulator->RandomNumberSeed = 8;
  std::string path = ScratchPath("records.bin");
  std::ofstream* file = simulator->CreateBinFile(&path[0]);
  ASSERT_NE(file, nullptr);
  DataPacket report(300, 70000, 3, 4);
  FillReport(report);
  simulator->OutputDataBinary(nullptr, file, &report, nullptr);
  std::string expected = Bytes({0, 0, 0, 55, 44, 0x11, 0x70, 0, 2}) + Bytes({0, 0, 1, 0, 0, 0, 2}) +
                         BigEndian(1.0) + BigEndian(0.5) + Bytes({0, 2, 1, 0, 0, 0, 2}) +
                         BigEndian(123.456) + BigEndian(-0.25);
  EXPECT_EQ(ReadFile(path).substr(256), expected);  // flushed after the record

  simulator->BatchRuns = 12;
  simulator->UpdateBinFileHeader(*file);
  simulator->OutputDataBinary(nullptr, file, &report, nullptr);  // appended, not over the header
  simulator->CloseBinFile(*file);
  delete file;
  std::string all = ReadFile(path);
  ASSERT_EQ(all.size(), 256u + 2 * expected.size());
  EXPECT_EQ(HeaderText(all),
            "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=70000,SEED=8,"
            "RANDOMGEN=Lagged Fibonacci,BATCHES=12,,");
  EXPECT_EQ(all.substr(256 + expected.size()), expected);
}

TEST(BinaryResultFile, ReportWithoutObservationsIsANineByteRecord) {
  auto simulator = MakeSimulator();
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  DataPacket report(300, 70000, 3, 4);
  std::ostringstream out;
  simulator->OutputDataBinary(nullptr, &out, &report, nullptr);
  EXPECT_EQ(out.str(), Bytes({0, 0, 0, 9, 44, 0x11, 0x70, 0, 0}));
}

TEST(BinaryResultFile, SquaresSectionsFollowAllObservationSections) {
  // dp: variable 1 holds 2.0; dpsqr: variables 0 and 1 hold 9.0 and 4.0.
  // V = 3, D = 3: 9 + 21 + 24 = 54 = 0x36.
  auto simulator = MakeSimulator();
  simulator->MyClientID = 1;
  simulator->TheExperimentNumber = 2;
  DataPacket report(1, 2, 2, 1);
  DataPacket squares(1, 2, 2, 1);
  report.SetObs(1, 0, 2.0);
  report.SetNumObs(1, 1);
  squares.SetObs(0, 0, 9.0);
  squares.SetNumObs(0, 1);
  squares.SetObs(1, 0, 4.0);
  squares.SetNumObs(1, 1);
  std::ostringstream out;
  simulator->OutputDataBinary(nullptr, &out, &report, &squares);
  EXPECT_EQ(out.str(), Bytes({0, 0, 0, 54, 1, 0, 2, 0, 3}) + Bytes({0, 1, 1, 0, 0, 0, 1}) +
                           BigEndian(2.0) + Bytes({0, 0, 2, 0, 0, 0, 1}) + BigEndian(9.0) +
                           Bytes({0, 1, 2, 0, 0, 0, 1}) + BigEndian(4.0));
}

TEST(BigEndianWriters, EachWriterGivesItsBytesAndWidth) {
  auto simulator = MakeSimulator();
  std::ostringstream out;
  EXPECT_EQ(simulator->OutputInt(nullptr, &out, 0x01020304), 4);
  EXPECT_EQ(simulator->OutputShort(nullptr, &out, static_cast<short>(-2)), 2);
  EXPECT_EQ(simulator->OutputByte(nullptr, &out, static_cast<char>(300)), 1);
  double row[2] = {1.5, -0.25};
  EXPECT_EQ(simulator->Output(nullptr, &out, row, 2), 16);
  EXPECT_EQ(out.str(), Bytes({1, 2, 3, 4, 0xFF, 0xFE, 44}) + BigEndian(1.5) + BigEndian(-0.25));
}

TEST(BigEndianWriters, ConversionBufferGrowsForLongRowsAndStaysExact) {
  // 150 values exceed the first buffer of 100; a short row afterwards must not carry
  // bytes of the long one.
  auto simulator = MakeSimulator();
  std::vector<double> longRow(150);
  for (int i = 0; i < 150; i++) longRow[i] = i + 0.5;
  std::ostringstream out;
  EXPECT_EQ(simulator->Output(nullptr, &out, longRow.data(), 150), 1200);
  std::string expected;
  for (double v : longRow) expected += BigEndian(v);
  EXPECT_EQ(out.str(), expected);
  std::ostringstream shortOut;
  double shortRow[1] = {7.0};
  EXPECT_EQ(simulator->Output(nullptr, &shortOut, shortRow, 1), 8);
  EXPECT_EQ(shortOut.str(), BigEndian(7.0));
}

TEST(BigEndianWriters, EndianConvertDoubleLeavesTheBigEndianImageInMemory) {
  auto simulator = MakeSimulator();
  double converted = simulator->EndianConvertDouble(1.5);
  char image[8];
  std::memcpy(image, &converted, 8);
  EXPECT_EQ(std::string(image, 8), BigEndian(1.5));
  EXPECT_EQ(simulator->EndianConvertDouble(converted), 1.5);
}

TEST(BigEndianWriters, SocketAndFileGetTheSameBytes) {
  auto simulator = MakeSimulator();
  TavrinSocket listener(true);
  int port = testsupport::PortBase();
  while (!listener.Bind(port)) port++;
  ASSERT_TRUE(listener.Listen(1));
  testsupport::StandInManager peer;
  ASSERT_TRUE(peer.ConnectTo(port));
  TavrinSocket link(false);
  ASSERT_TRUE(listener.Accept(link));
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  DataPacket report(300, 70000, 3, 4);
  FillReport(report);
  std::ostringstream out;
  simulator->OutputDataBinary(&link, &out, &report, nullptr);
  EXPECT_EQ(peer.Read(55), out.str());
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST(BigEndianWriters, FailedSendStopsTheRunButTheFileRecordsStayWhole) {
  auto simulator = MakeSimulator();
  TavrinSocket listener(true);
  int port = testsupport::PortBase();
  while (!listener.Bind(port)) port++;
  ASSERT_TRUE(listener.Listen(1));
  testsupport::StandInManager peer;
  ASSERT_TRUE(peer.ConnectTo(port));
  TavrinSocket link(false);
  ASSERT_TRUE(listener.Accept(link));
  peer.Close();
  DataPacket report(0, 0, 3, 4);
  FillReport(report);
  std::ostringstream out;
  int records = 0;
  // The first sends may still be taken by the kernel; the peer's reset makes a later one fail.
  while (simulator->SimControl == 0 && records < 200) {
    simulator->OutputDataBinary(&link, &out, &report, nullptr);
    records++;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(simulator->SimControl, 2);
  EXPECT_EQ(out.str().size(), static_cast<size_t>(records) * 55);
  EXPECT_EQ(simulator->OutputInt(&link, &out, 5), -1);
  EXPECT_EQ(out.str().size(), static_cast<size_t>(records) * 55 + 4);
}
