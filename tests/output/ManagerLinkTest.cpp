// The simulator's side of the manager link, driven by a stand-in manager over loopback
// TCP, and the output pipeline that decides when queued reports are written.

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "SimulatorForTests.h"
#include "output/DataPacket.h"
#include "output/TavrinQueue.h"
#include "output/WireCodec.h"
#include "platform/ProcessId.h"
#include "platform/TavrinThread.h"

using testsupport::MakeSimulator;
using testsupport::ReadFile;
using testsupport::ScratchPath;
using testsupport::StandInManager;

namespace {

// A free port with free successors, so a test can occupy some and expect the next.
int FreePortRun(int length) {
  for (int tries = 0; tries < 50; tries++) {
    int start = testsupport::PortBase();
    bool allFree = true;
    for (int p = start; p < start + length && allFree; p++) allFree = testsupport::PortIsFree(p);
    if (allFree) return start;
  }
  ADD_FAILURE() << "no run of free ports";
  return 20000;
}

// Waits for the manager on this thread while peer connects from another; returns the
// announcement line.
std::string Connect(SimulatorClass& simulator, StandInManager& peer, int port) {
  simulator.AcceptSelectDelay = 50;
  std::thread connector([&] { EXPECT_TRUE(peer.ConnectTo(port)); });
  testing::internal::CaptureStdout();
  simulator.SimMgrSocket = simulator.WaitForSimMgrConnection(3000);
  std::string announcement = testing::internal::GetCapturedStdout();
  connector.join();
  return announcement;
}

class ManagerLink : public testing::Test {
 protected:
  void SetUp() override {
    simulator = MakeSimulator();
    port = FreePortRun(3);
    simulator->SocketPort = static_cast<short>(port);
    simulator->ReadSelectDelay = 1000;  // the command has been sent, but may be in flight
    ASSERT_EQ(Connect(*simulator, peer, port), "REGISTER:  Port: [" + std::to_string(port) + "]\n");
    ASSERT_NE(simulator->SimMgrSocket, nullptr);
    Acknowledgement registration = peer.ReadAcknowledgement();
    EXPECT_EQ(registration.status, -1);
    EXPECT_EQ(registration.code, 1);
    EXPECT_EQ(registration.processId, CurrentProcessId());
  }

  std::unique_ptr<SimulatorClass> simulator;
  StandInManager peer;
  int port = 0;
};

// One report of one observation per variable of a two-variable packet: value for
// variable 0, nothing for variable 1.
void FillCurrentReport(SimulatorClass& simulator, double value) {
  simulator.CurPacket->SetObs(0, 0, value);
  simulator.CurPacket->SetNumObs(0, 1);
  simulator.CurPacket->SetNumObs(1, 0);
  simulator.CurSqrPacket->SetObs(0, 0, value * value);
  simulator.CurSqrPacket->SetNumObs(0, 1);
  simulator.CurSqrPacket->SetNumObs(1, 0);
}

void StartReports(SimulatorClass& simulator) {
  simulator.NumPVs = 2;
  simulator.ReportSize = 1;
  simulator.CurPacket = simulator.CreateDataPacket(2);
  simulator.CurSqrPacket = simulator.CreateDataPacket(2);
}

int CsvLines(const std::string& path) {
  std::string text = ReadFile(path);
  int lines = 0;
  for (char c : text) lines += (c == '\n');
  return lines - 2;  // the header and format lines
}

}  // namespace

TEST(ManagerWait, PortsInUseAreSkippedAndTheBoundPortAnnounced) {
  int start = FreePortRun(3);
  TavrinSocket first(true), second(true);
  ASSERT_TRUE(first.Bind(start) && first.Listen(1));
  ASSERT_TRUE(second.Bind(start + 1) && second.Listen(1));
  auto simulator = MakeSimulator();
  simulator->SocketPort = static_cast<short>(start);
  StandInManager peer;
  EXPECT_EQ(Connect(*simulator, peer, start + 2),
            "REGISTER:  Port: [" + std::to_string(start + 2) + "]\n");
  EXPECT_EQ(static_cast<unsigned short>(simulator->SocketPort), start + 2);
  EXPECT_NE(simulator->SimMgrSocket, nullptr);
}

TEST(ManagerWait, PortAboveTheSignedRangeIsAnnouncedAsTheNumberBound) {
  // -p 40000 keeps -25536 in the 16-bit field; the socket and the line must say 40000.
  int port = 40000;
  while (!testsupport::PortIsFree(port)) port++;
  auto simulator = MakeSimulator({"-p", std::to_string(port)});
  EXPECT_LT(simulator->SocketPort, 0);
  StandInManager peer;
  EXPECT_EQ(Connect(*simulator, peer, port), "REGISTER:  Port: [" + std::to_string(port) + "]\n");
  ASSERT_NE(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(peer.ReadAcknowledgement().code, 1);
}

TEST(ManagerWait, NoManagerWithinTheTimeGivesNoSocket) {
  // 150 ms in rounds of 50 ms: three rounds, then null.
  auto simulator = MakeSimulator();
  simulator->SocketPort = static_cast<short>(FreePortRun(1));
  simulator->AcceptSelectDelay = 50;
  testing::internal::CaptureStdout();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(simulator->WaitForSimMgrConnection(150), nullptr);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
  EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("REGISTER:  Port: [", 0), 0u);
}

TEST(ManagerWait, GivesUpAfterOneHundredPortsInUse) {
  int start = FreePortRun(101);
  std::vector<std::unique_ptr<TavrinSocket>> holders;
  for (int p = start; p < start + 100; p++) {
    holders.emplace_back(new TavrinSocket(true));
    ASSERT_TRUE(holders.back()->Bind(p));
  }
  auto simulator = MakeSimulator();
  simulator->SocketPort = static_cast<short>(start);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(simulator->WaitForSimMgrConnection(100), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to bind a port\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  // With the hundredth port free it is found.
  holders.pop_back();
  simulator->SocketPort = static_cast<short>(start);
  simulator->AcceptSelectDelay = 10;
  testing::internal::CaptureStdout();
  EXPECT_EQ(simulator->WaitForSimMgrConnection(10), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "REGISTER:  Port: [" + std::to_string(start + 99) + "]\n");
}

TEST_F(ManagerLink, AcknowledgeCommandIsAnsweredAndNothingElse) {
  peer.Send("\x01");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  Acknowledgement ack = peer.ReadAcknowledgement();
  EXPECT_EQ(ack.status, -1);
  EXPECT_EQ(ack.code, 1);
  EXPECT_EQ(simulator->SimControl, 0);
  EXPECT_TRUE(peer.QuietFor(50));
}

TEST_F(ManagerLink, QuitIsAnnouncedAcknowledgedAndStopsTheRun) {
  peer.Send("\x02");
  testing::internal::CaptureStdout();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "SOCKET::Quit\n");
  Acknowledgement ack = peer.ReadAcknowledgement();
  EXPECT_EQ(ack.status, -2);
  EXPECT_EQ(ack.code, 2);
  EXPECT_EQ(simulator->SimControl, 2);
}

TEST_F(ManagerLink, UnknownCommandIsReportedAndIgnored) {
  peer.Send("\x09");
  testing::internal::CaptureStderr();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "!! Invalid Response Received by Client \n!! Simulation\n");
  EXPECT_TRUE(peer.QuietFor(50));
  EXPECT_EQ(simulator->SimControl, 0);
  EXPECT_NE(simulator->SimMgrSocket, nullptr);
}

TEST_F(ManagerLink, NoCommandWaitingReturnsAtOnce) {
  simulator->ReadSelectDelay = 0;
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(simulator->SimControl, 0);
  EXPECT_NE(simulator->SimMgrSocket, nullptr);
}

TEST_F(ManagerLink, ContinueWithoutManagerTakesFileAndLimitSentInPieces) {
  std::string path = ScratchPath("command3.bin");
  std::thread sender([&] {
    peer.Send("\x03" + path.substr(0, 4));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    peer.Send(path.substr(4) + ";1");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    peer.Send("7;");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    peer.Send(";");
  });
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  sender.join();
  Acknowledgement ack = peer.ReadAcknowledgement();
  EXPECT_EQ(ack.status, -1);
  EXPECT_EQ(ack.code, 3);
  EXPECT_TRUE(peer.SeesClose());
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->MaxNumOfBatches, 17);
  ASSERT_NE(simulator->BinFilename, nullptr);
  EXPECT_EQ(std::string(simulator->BinFilename), path);
  ASSERT_NE(simulator->FileBin, nullptr);
  EXPECT_EQ(ReadFile(path).size(), 256u);
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST_F(ManagerLink, ContinueWithoutManagerKeepsABinaryFileGivenBefore) {
  std::string given = ScratchPath("given.bin");
  simulator->BinFilename = new char[given.size() + 1];
  std::copy(given.c_str(), given.c_str() + given.size() + 1, simulator->BinFilename);
  simulator->MaxNumOfBatches = 5;
  peer.Send("\x03other.bin;99;;");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
  EXPECT_EQ(std::string(simulator->BinFilename), given);
  EXPECT_EQ(simulator->MaxNumOfBatches, 5);
  EXPECT_EQ(simulator->FileBin, nullptr);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
}

TEST_F(ManagerLink, ContinueWithoutManagerToAnUnopenableFileGoesOn) {
  peer.Send("\x03/nonexistent-dir/x.bin;4;;");
  testing::internal::CaptureStderr();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Unable to open output file /nonexistent-dir/x.bin\n");
  EXPECT_EQ(simulator->FileBin, nullptr);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST_F(ManagerLink, PeerThatDisconnectsLeavesTheRunGoingWithoutIt) {
  peer.Close();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST_F(ManagerLink, EachWrittenReportSendsProcessorTimeThenTheRecord) {
  // Client 300 -> 44, experiment 70000 -> 4464; one section of one double: 9 + 7 + 8 = 24.
  simulator->MyClientID = 300;
  simulator->TheExperimentNumber = 70000;
  simulator->ReadSelectDelay = 0;  // no command comes: each boundary only polls
  StartReports(*simulator);
  for (int report = 1; report <= 3; report++) {
    FillCurrentReport(*simulator, report * 1.5);
    simulator->CPUSeconds = report * 0.01;
    EXPECT_EQ(simulator->CheckReportSize(simulator->CPUSeconds), 1);
    std::string bytes = peer.Read(16);
    CPUTimeMessage time;
    std::string error;
    ASSERT_TRUE(WireCodec::DecodeCPUTime(bytes.data(), bytes.size(), time, error)) << error;
    EXPECT_EQ(time.clientId, 44);
    EXPECT_EQ(time.experimentNumber, 4464);
    EXPECT_EQ(time.seconds, report * 0.01);
    DataRecord record = peer.ReadRecord();
    EXPECT_EQ(record.length, 24);
    EXPECT_EQ(record.clientId, 44);
    ASSERT_EQ(record.sections.size(), 1u);
    EXPECT_EQ(record.sections[0].kind, 1);
    EXPECT_EQ(record.sections[0].observations, std::vector<double>({report * 1.5}));
  }
}

TEST_F(ManagerLink, QuitAtAReportBoundaryIsAnsweredBeforeThatReportIsSent) {
  StartReports(*simulator);
  FillCurrentReport(*simulator, 2.0);
  peer.Send("\x02");
  testing::internal::CaptureStdout();
  EXPECT_EQ(simulator->CheckReportSize(0.0), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(peer.ReadAcknowledgement().status, -2);
  EXPECT_EQ(peer.Read(16).size(), 16u);
  EXPECT_EQ(peer.ReadRecord().sections.at(0).observations, std::vector<double>({2.0}));
  EXPECT_EQ(simulator->SimControl, 2);
}

TEST_F(ManagerLink, AfterCommandThreeReportsGoToTheFilesOnly) {
  StartReports(*simulator);
  std::string path = ScratchPath("after3.bin");
  FillCurrentReport(*simulator, 4.0);
  peer.Send("\x03" + path + ";9;;");
  EXPECT_EQ(simulator->CheckReportSize(0.0), 1);
  EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
  EXPECT_TRUE(peer.SeesClose());  // nothing else came on the connection
  std::string file = ReadFile(path);
  ASSERT_EQ(file.size(), 256u + 24u);
  EXPECT_EQ(file.substr(256 + 16), testsupport::BigEndian(4.0));
}

TEST_F(ManagerLink, SocketThreadEntryServesTheManagerUntilQuit) {
  // The first manager link ends when the fixture's peer leaves; the entry point then waits
  // again, and a second manager quits the run.
  int second = FreePortRun(1);
  simulator->SocketPort = static_cast<short>(second);
  TavrinSocket* first = simulator->SimMgrSocket;
  simulator->AcceptSelectDelay = 20;
  TavrinThread thread(SimulatorClass::StaticSocketThreadFunc, simulator.get());
  peer.Close();
  testing::internal::CaptureStdout();
  thread.Start();
  StandInManager next;
  ASSERT_TRUE(next.ConnectTo(second));
  EXPECT_EQ(next.ReadAcknowledgement().code, 1);
  next.Send("\x02");
  EXPECT_EQ(next.ReadAcknowledgement().code, 2);
  EXPECT_EQ(thread.WaitUntilDone(), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("SOCKET::Quit\n"), std::string::npos);
  EXPECT_EQ(simulator->SimControl, 2);
  EXPECT_NE(simulator->SimMgrSocket, first);
}

TEST(ReportPipeline, FirstTenAreWrittenThenFastReportsWaitForTwentyFive) {
  // NumberReports starts at 1 and passes 10 after report 10, so reports 1-10 are written
  // at once. From report 11 on the queue holds 2 * (k - 10) packets after report k: kept
  // while fewer than 50, so report 35 writes (50 packets), and again report 60.
  auto simulator = MakeSimulator();
  std::string csv = ScratchPath("pipeline.csv");
  std::string bin = ScratchPath("pipeline.bin");
  simulator->FileCSV = simulator->CreateAsciiFile(&csv[0]);
  simulator->FileBin = simulator->CreateBinFile(&bin[0]);
  StartReports(*simulator);
  for (int k = 1; k <= 60; k++) {
    FillCurrentReport(*simulator, k);
    simulator->BatchRuns = k;
    int expected = (k <= 10 || k == 35 || k == 60) ? 1 : 0;
    ASSERT_EQ(simulator->CheckReportSize(0.001 * k), expected) << "report " << k;
    int written = k <= 10 ? k : (k < 35 ? 10 : (k < 60 ? 35 : 60));
    ASSERT_EQ(CsvLines(csv), written) << "report " << k;
    std::string header = ReadFile(bin).substr(0, 256);
    ASSERT_NE(header.find("BATCHES=" + std::to_string(written) + ",,"), std::string::npos)
        << "report " << k;
  }
  EXPECT_EQ(ReadFile(bin).size(), 256u + 60u * 24u);
}

TEST(ReportPipeline, SlowReportsAreAlwaysWritten) {
  // 0.25 s per write on average is not below 0.2: every report goes out.
  auto simulator = MakeSimulator();
  StartReports(*simulator);
  for (int k = 1; k <= 30; k++) {
    FillCurrentReport(*simulator, k);
    ASSERT_EQ(simulator->CheckReportSize(0.25 * simulator->NumberReports), 1) << k;
  }
  EXPECT_EQ(simulator->OutputPackets->GetCount(), 0);
}

TEST(ReportPipeline, LastReportIsWrittenWithEverythingQueuedAndStopsTheRun) {
  auto simulator = MakeSimulator();
  std::string csv = ScratchPath("last.csv");
  simulator->FileCSV = simulator->CreateAsciiFile(&csv[0]);
  StartReports(*simulator);
  for (int k = 1; k <= 15; k++) {
    FillCurrentReport(*simulator, k);
    simulator->CheckReportSize(0.0);
  }
  EXPECT_EQ(CsvLines(csv), 10);  // reports 11-15 are queued
  EXPECT_EQ(simulator->OutputPackets->GetCount(), 10);
  FillCurrentReport(*simulator, 16);
  simulator->SimControl = 1;
  EXPECT_EQ(simulator->CheckReportSize(0.0), 1);
  EXPECT_EQ(CsvLines(csv), 16);
  EXPECT_EQ(simulator->SimControl, 2);
  std::string text = ReadFile(csv);
  EXPECT_EQ(text.substr(text.size() - 14), "0,15.0\n0,16.0\n");
}

TEST(ReportPipeline, PacketsAreRecycledWithoutFilesOrManager) {
  // At most 25 reports wait, so 50 queued packets and the two being filled: 52 in all.
  auto simulator = MakeSimulator();
  StartReports(*simulator);
  std::set<DataPacket*> seen;
  for (int k = 1; k <= 300; k++) {
    FillCurrentReport(*simulator, k);
    simulator->CheckReportSize(0.0);
    seen.insert(simulator->CurPacket);
    seen.insert(simulator->CurSqrPacket);
  }
  EXPECT_LE(seen.size(), 52u);
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST(ReportPipeline, ResetReturnsQueuedPacketsUnwritten) {
  auto simulator = MakeSimulator();
  std::string csv = ScratchPath("reset.csv");
  simulator->FileCSV = simulator->CreateAsciiFile(&csv[0]);
  StartReports(*simulator);
  for (int k = 1; k <= 13; k++) {
    FillCurrentReport(*simulator, k);
    simulator->CheckReportSize(0.0);
  }
  int unused = simulator->UnusedPackets->GetCount();
  EXPECT_EQ(simulator->OutputPackets->GetCount(), 6);  // reports 11-13
  simulator->ResetDataPacketBuffer();
  EXPECT_EQ(simulator->OutputPackets->GetCount(), 0);
  EXPECT_EQ(simulator->UnusedPackets->GetCount(), unused + 6);
  simulator->OutputThreadFunc();
  EXPECT_EQ(CsvLines(csv), 10);
}

TEST(ReportPipeline, OutputThreadEntryEndsOnceTheLastOutputIsWritten) {
  auto simulator = MakeSimulator();
  simulator->SimControl = 1;
  TavrinThread thread(SimulatorClass::StaticOutputThreadFunc, simulator.get());
  thread.Start();
  EXPECT_EQ(thread.WaitUntilDone(), 0);
  EXPECT_EQ(simulator->SimControl, 2);
}
