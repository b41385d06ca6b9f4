// The simulator's side of the manager link, driven by a stand-in manager over loopback
// TCP, and the output pipeline that decides when queued reports are written.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <set>
#include <thread>

#include "SimulatorUnderTest.h"
#include "output/DataPacket.h"
#include "output/TavrinQueue.h"
#include "platform/ProcessId.h"
#include "platform/TavrinThread.h"

using testsupport::MakeSimulator;
using testsupport::ReadFile;
using testsupport::ScratchPath;
using testsupport::StandInManager;

namespace {

// The first of length successive free ports.
int FreePortRun(int length) {
  for (;;) {
    int start = testsupport::PortBase(), p = start;
    while (p < start + length && testsupport::PortIsFree(p)) p++;
    if (p == start + length) return start;
  }
}

// Runs a test in a fresh empty working directory, the one a manager's file names are
// relative to, and goes back to the previous one after it.
class WorkingDirectory {
 public:
  WorkingDirectory() {
    char buffer[4096];
    previous_ = getcwd(buffer, sizeof buffer) != nullptr ? buffer : ".";
    std::string pattern = testing::TempDir() + "tavrin_workdir_XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    EXPECT_NE(mkdtemp(name.data()), nullptr);
    EXPECT_EQ(chdir(name.data()), 0);
  }
  ~WorkingDirectory() { EXPECT_EQ(chdir(previous_.c_str()), 0); }

 private:
  std::string previous_;
};

std::string Announcement(int port) { return "REGISTER:  Port: [" + std::to_string(port) + "]\n"; }

// Waits for the manager on this thread while peer connects to port from another; returns
// what the wait wrote on the standard output.
std::string Connect(SimulatorClass& simulator, StandInManager& peer, int port) {
  simulator.AcceptSelectDelay = 50;
  std::thread connector([&] { EXPECT_TRUE(peer.ConnectTo(port)); });
  testing::internal::CaptureStdout();
  simulator.SimMgrSocket = simulator.WaitForSimMgrConnection(3000);
  std::string out = testing::internal::GetCapturedStdout();
  connector.join();
  return out;
}

// Reports of two variables with one observation, value, for variable 0 only: records of
// 9 + 7 + 8 = 24 bytes.
void StartReports(SimulatorClass& simulator) {
  simulator.NumPVs = 2;
  simulator.ReportSize = 1;
  simulator.CurPacket = simulator.CreateDataPacket(2);
  simulator.CurSqrPacket = simulator.CreateDataPacket(2);
}

void FillCurrentReport(SimulatorClass& simulator, double value) {
  for (DataPacket* packet : {simulator.CurPacket, simulator.CurSqrPacket}) {
    packet->SetObs(0, 0, value);
    packet->SetNumObs(0, 1);
    packet->SetNumObs(1, 0);
  }
}

int CsvLines(const std::string& path) {
  std::string text = ReadFile(path);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) - 2;  // header, format
}

// A simulator connected to a stand-in manager that has read its registration.
class ManagerLink : public testing::Test {
 protected:
  void SetUp() override {
    simulator = MakeSimulator();
    simulator->SocketPort = static_cast<short>(FreePortRun(1));
    simulator->ReadSelectDelay = 1000;  // a command sent just before may still be in flight
    int port = static_cast<unsigned short>(simulator->SocketPort);
    ASSERT_EQ(Connect(*simulator, peer, port), Announcement(port));
    ASSERT_NE(simulator->SimMgrSocket, nullptr);
    Acknowledgement registration = peer.ReadAcknowledgement();
    EXPECT_EQ(registration.status, -1);
    EXPECT_EQ(registration.code, 1);
    EXPECT_EQ(registration.processId, CurrentProcessId());
  }

  std::unique_ptr<SimulatorClass> simulator;
  StandInManager peer;
};

// A simulator connected to a stand-in manager that does not read yet, with a send time-out
// of 200 ms.
class ManagerLinkSendTimeOut : public testing::Test {
 protected:
  void SetUp() override {
    simulator = MakeSimulator();
    simulator->SendTimeout = 200;
    int port = FreePortRun(1);
    simulator->SocketPort = static_cast<short>(port);
    Connect(*simulator, peer, port);
    ASSERT_NE(simulator->SimMgrSocket, nullptr);
  }

  std::unique_ptr<SimulatorClass> simulator;
  StandInManager peer;
};

}  // namespace

TEST(ManagerWait, PortsInUseAreSkippedAndTheBoundPortAnnounced) {
  int start = FreePortRun(3);
  TavrinSocket first(true), second(true);
  ASSERT_TRUE(first.Bind(start) && first.Listen(1) && second.Bind(start + 1) && second.Listen(1));
  auto simulator = MakeSimulator();
  simulator->SocketPort = static_cast<short>(start);
  StandInManager peer;
  EXPECT_EQ(Connect(*simulator, peer, start + 2), Announcement(start + 2));
  EXPECT_NE(simulator->SimMgrSocket, nullptr);
}

TEST(ManagerWait, PortAboveTheSignedRangeIsAnnouncedAsTheNumberBound) {
  // -p 40000 keeps -25536 in the 16-bit field; the socket and the line must say 40000.
  int port = 40000;
  while (!testsupport::PortIsFree(port)) port++;
  auto simulator = MakeSimulator({"-p", std::to_string(port)});
  EXPECT_LT(simulator->SocketPort, 0);
  StandInManager peer;
  EXPECT_EQ(Connect(*simulator, peer, port), Announcement(port));
  EXPECT_EQ(peer.ReadAcknowledgement().code, 1);
}

TEST(ManagerWait, NoManagerWithinTheTimeOrNoFreePortGivesNoSocket) {
  // 100 ports in use from start: the hundredth try fails; with the last one free the wait
  // binds it, and 100 ms in rounds of 50 ms pass without a manager.
  int start = FreePortRun(101);
  std::vector<std::unique_ptr<TavrinSocket>> holders;
  for (int p = start; p < start + 100; p++) {
    holders.emplace_back(new TavrinSocket(true));
    ASSERT_TRUE(holders.back()->Bind(p) && holders.back()->Listen(1));   // in use: listened on
  }
  auto simulator = MakeSimulator();
  simulator->SocketPort = static_cast<short>(start);
  simulator->AcceptSelectDelay = 50;
  testing::internal::CaptureStderr();
  EXPECT_EQ(simulator->WaitForSimMgrConnection(100), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to bind a port\n");
  holders.pop_back();
  simulator->SocketPort = static_cast<short>(start);
  testing::internal::CaptureStdout();
  auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(simulator->WaitForSimMgrConnection(100), nullptr);
  EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(95));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), Announcement(start + 99));
}

TEST_F(ManagerLink, AcknowledgeAndUnknownCommands) {
  peer.Send("\x01");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  Acknowledgement ack = peer.ReadAcknowledgement();
  EXPECT_EQ(ack.status, -1);
  EXPECT_EQ(ack.code, 1);
  peer.Send("\x09");
  testing::internal::CaptureStderr();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "!! Invalid Response Received by Client \n!! Simulation\n");
  EXPECT_TRUE(peer.QuietFor(50));  // no answer to an unknown command
  simulator->ReadSelectDelay = 0;
  simulator->ListenToSimMgr(simulator->SimMgrSocket);  // nothing waiting: returns at once
  EXPECT_EQ(simulator->SimControl, 0);
  EXPECT_NE(simulator->SimMgrSocket, nullptr);
}

TEST_F(ManagerLink, QuitAtAReportBoundaryIsAnsweredBeforeThatReportIsSent) {
  StartReports(*simulator);
  FillCurrentReport(*simulator, 2.0);
  simulator->CPUSeconds = 0.5;
  peer.Send("\x02");
  testing::internal::CaptureStdout();
  EXPECT_EQ(simulator->CheckReportSize(0.5), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "SOCKET::Quit\n");
  Acknowledgement ack = peer.ReadAcknowledgement();
  EXPECT_EQ(ack.status, -2);
  EXPECT_EQ(ack.code, 2);
  EXPECT_EQ(simulator->SimControl, 2);
  std::string time = peer.Read(16), error;
  CPUTimeMessage decoded;
  ASSERT_TRUE(WireCodec::DecodeCPUTime(time.data(), time.size(), decoded, error)) << error;
  EXPECT_EQ(decoded.seconds, 0.5);
  DataRecord record = peer.ReadRecord();
  EXPECT_EQ(record.length, 24);
  ASSERT_EQ(record.sections.size(), 1u);
  EXPECT_EQ(record.sections[0].kind, 1);
  EXPECT_EQ(record.sections[0].observations, std::vector<double>({2.0}));
}

TEST_F(ManagerLink, CommandThreeSentInPiecesNamesTheFileThatTakesTheReports) {
  // "\x03" + name + ";17;;" arrives in four pieces; the report of that boundary and every
  // later one go to the new file only.
  WorkingDirectory here;
  std::string path = "command3.bin";
  StartReports(*simulator);
  FillCurrentReport(*simulator, 4.0);
  std::thread sender([&] {
    for (std::string piece : {"\x03" + path.substr(0, 4), path.substr(4) + ";1", std::string("7;"),
                              std::string(";")}) {
      peer.Send(piece);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  });
  EXPECT_EQ(simulator->CheckReportSize(0.0), 1);
  sender.join();
  EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
  EXPECT_TRUE(peer.SeesClose());  // nothing else came on the connection
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->MaxNumOfBatches, 17);
  ASSERT_NE(simulator->BinFilename, nullptr);
  EXPECT_EQ(std::string(simulator->BinFilename), path);
  std::string file = ReadFile(path);
  ASSERT_EQ(file.size(), 256u + 24u);
  EXPECT_EQ(file.substr(256 + 16), testsupport::BigEndian(4.0));
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST_F(ManagerLink, CommandThreeKeepsAFileGivenBefore) {
  WorkingDirectory here;
  simulator->MaxNumOfBatches = 5;
  peer.Send("\x03" "first.bin;4;;");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
  EXPECT_NE(simulator->FileBin, nullptr);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->SimControl, 0);
  // A second manager names another file: the first name and its limit stay.
  int port = FreePortRun(1);
  simulator->SocketPort = static_cast<short>(port);
  StandInManager second;
  Connect(*simulator, second, port);
  second.ReadAcknowledgement();
  second.Send("\x03other.bin;99;;");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(second.ReadAcknowledgement().code, 3);
  EXPECT_EQ(std::string(simulator->BinFilename), "first.bin");
  EXPECT_EQ(simulator->MaxNumOfBatches, 4);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_TRUE(ReadFile("other.bin").empty());
}

// A name that could reach outside the working directory, go through a symbolic link or
// truncate an existing file is refused with a message; the run goes on as if no name had
// come: no file, the limit it had, the connection closed.
TEST_F(ManagerLink, CommandThreeRefusesNamesOutsideTheWorkingDirectoryOrOfExistingFiles) {
  WorkingDirectory here;
  ASSERT_EQ(mkdir("sub", 0755), 0);
  ASSERT_EQ(symlink("/tmp", "link"), 0);
  ASSERT_EQ(symlink("victim", "dangling"), 0);
  { std::ofstream existing("kept.bin"); existing << "precious"; }
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"/tmp/abs.bin", "it is an absolute path"},
      {"../up.bin", "it has an empty, '.' or '..' part"},
      {"sub/../x.bin", "it has an empty, '.' or '..' part"},
      {"link/x.bin", "a directory on its path is a symbolic link"},
      {"dangling", "a file of that name exists already"},
      {"kept.bin", "a file of that name exists already"},
      {"missing/x.bin", "a directory on its path does not exist"},
  };
  simulator->MaxNumOfBatches = 5;
  for (const auto& name : refused) {
    peer.Send("\x03" + name.first + ";9;;");
    testing::internal::CaptureStderr();
    simulator->ListenToSimMgr(simulator->SimMgrSocket);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: Binary file name '" + name.first + "' from the manager refused: " +
                  name.second + "\n");
    EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
    EXPECT_EQ(simulator->BinFilename, nullptr) << name.first;
    EXPECT_EQ(simulator->FileBin, nullptr);
    EXPECT_EQ(simulator->MaxNumOfBatches, 5) << name.first;
    EXPECT_EQ(simulator->SimMgrSocket, nullptr);
    // The next name comes from a new manager.
    int port = FreePortRun(1);
    simulator->SocketPort = static_cast<short>(port);
    peer.Close();
    peer = StandInManager();
    Connect(*simulator, peer, port);
    peer.ReadAcknowledgement();
  }
  EXPECT_EQ(ReadFile("kept.bin"), "precious");
  struct stat info;
  EXPECT_NE(lstat("victim", &info), 0);  // nothing was created through the link
  // A plain relative path below the working directory is taken.
  peer.Send("\x03sub/ok.bin;9;;");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  ASSERT_NE(simulator->BinFilename, nullptr);
  EXPECT_EQ(std::string(simulator->BinFilename), "sub/ok.bin");
  EXPECT_EQ(ReadFile("sub/ok.bin").size(), 256u);
  EXPECT_EQ(simulator->MaxNumOfBatches, 9);
}

TEST_F(ManagerLink, CommandThreeWithoutAValidLimitKeepsTheRunsLimit) {
  WorkingDirectory here;
  simulator->MaxNumOfBatches = 5;
  peer.Send("\x03limitless.bin;many;;");
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(peer.ReadAcknowledgement().code, 3);
  ASSERT_NE(simulator->BinFilename, nullptr);
  EXPECT_EQ(simulator->MaxNumOfBatches, 5);
}

// A parameter text that never ends would hold the run for ever: after the time-out the
// connection is treated as a failed read, and the run stops with its files whole.
TEST_F(ManagerLink, CommandThreeWhoseTextNeverEndsTimesOut) {
  simulator->CommandTextTimeout = 300;
  peer.Send("\x03never-ending");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  auto start = std::chrono::steady_clock::now();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  auto waited = std::chrono::steady_clock::now() - start;
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error reading socket 'read'... Exiting.\n");
  EXPECT_LT(waited, std::chrono::seconds(5));
  EXPECT_EQ(simulator->SimControl, 2);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->BinFilename, nullptr);
}

// A manager that never reads fills the connection; a send that makes no progress for the
// send time-out fails as a broken connection does, instead of blocking the run.
TEST_F(ManagerLinkSendTimeOut, PeerThatNeverReadsMakesTheSendFailAfterTheTimeOut) {
  std::vector<char> block(1 << 20, 'x');
  testing::internal::CaptureStderr();
  auto start = std::chrono::steady_clock::now();
  int result = 1;
  for (int i = 0; i < 64 && result > 0; i++)
    result = simulator->SimMgrSocket->Send(block.data(), static_cast<int>(block.size()));
  auto waited = std::chrono::steady_clock::now() - start;
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_LT(result, 1);
  EXPECT_EQ(err, "error in send: timed out\n");
  EXPECT_LT(waited, std::chrono::seconds(10));
}

// A manager that falls behind lets a send time out part-way through a report. The link
// then ends there: a later byte (the rest of that report, the next report) would be read
// by the manager as the start of a message, and the framing of the stream lost.
TEST_F(ManagerLinkSendTimeOut, SendCutByTheTimeOutEndsTheLinkAtTheCut) {
  EXPECT_EQ(peer.ReadAcknowledgement().code, 1);
  // Reports of 2 x 400000 observations (6.4 MB), more than the connection holds unread.
  const int columns = 400000;
  for (int r = 0; r < 3; r++) {
    DataPacket* observations = new DataPacket(0, 0, 2, columns);
    for (int v = 0; v < 2; v++) {
      for (int i = 0; i < columns; i++) observations->SetObs(v, i, r + 0.5);
      observations->SetNumObs(v, columns);
    }
    simulator->OutputPackets->Push(observations);
    simulator->OutputPackets->Push(new DataPacket(0, 0, 2, columns));
  }
  const size_t recordLength = static_cast<size_t>(WireCodec::RecordLength(2, 2 * columns));
  // The manager starts reading only well after the send has timed out.
  std::string received;
  bool closed = false;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    received = peer.ReadUntilClosed(2000, closed);
  });
  testing::internal::CaptureStderr();
  simulator->OutputThreadFunc();
  testing::internal::GetCapturedStderr();
  reader.join();
  EXPECT_EQ(simulator->SimControl, 2);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_TRUE(closed);
  // Whole processor-time messages and records, then at most one cut message, and nothing
  // after it.
  size_t at = 0;
  while (received.size() - at >= 5) {
    int length = WireCodec::GetInt32(received.data() + at);
    bool cpu = length == WireCodec::CPUTimeMessageSize - 4 && received[at + 4] == -2;
    size_t whole = cpu ? WireCodec::CPUTimeMessageSize : static_cast<size_t>(length);
    ASSERT_TRUE(cpu || whole == recordLength) << "a message of length " << length << " at byte " << at;
    if (at + whole > received.size()) break;
    at += whole;
  }
  EXPECT_LT(received.size(), 3 * (recordLength + WireCodec::CPUTimeMessageSize));
}

TEST_F(ManagerLink, PeerThatDisconnectsLeavesTheRunGoingWithoutIt) {
  peer.Close();
  simulator->ListenToSimMgr(simulator->SimMgrSocket);
  EXPECT_EQ(simulator->SimMgrSocket, nullptr);
  EXPECT_EQ(simulator->SimControl, 0);
}

TEST_F(ManagerLink, SocketThreadEntryWaitsAgainAfterAManagerLeavesAndEndsOnQuit) {
  int port = FreePortRun(1);
  simulator->SocketPort = static_cast<short>(port);
  simulator->AcceptSelectDelay = 20;
  peer.Close();
  TavrinThread thread(SimulatorClass::StaticSocketThreadFunc, simulator.get());
  testing::internal::CaptureStdout();
  thread.Start();
  StandInManager next;
  ASSERT_TRUE(next.ConnectTo(port));
  EXPECT_EQ(next.ReadAcknowledgement().code, 1);
  next.Send("\x02");
  EXPECT_EQ(next.ReadAcknowledgement().code, 2);
  EXPECT_EQ(thread.WaitUntilDone(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), Announcement(port) + "SOCKET::Quit\n");
  EXPECT_EQ(simulator->SimControl, 2);
}

TEST(ReportPipeline, FirstTenAreWrittenThenFastReportsWaitForTwentyFive) {
  // NumberReports starts at 1 and passes 10 after report 10, so reports 1-10 are written
  // at once. From report 11 on the queue holds 2 * (k - 10) packets after report k: kept
  // while fewer than 50, so report 35 writes (50 packets), and again report 60.
  auto simulator = MakeSimulator();
  std::string csv = ScratchPath("pipeline.csv"), bin = ScratchPath("pipeline.bin");
  simulator->FileCSV = simulator->CreateAsciiFile(&csv[0]);
  simulator->FileBin = simulator->CreateBinFile(&bin[0]);
  StartReports(*simulator);
  for (int k = 1; k <= 60; k++) {
    FillCurrentReport(*simulator, k);
    simulator->BatchRuns = k;
    ASSERT_EQ(simulator->CheckReportSize(0.001 * k), (k <= 10 || k == 35 || k == 60) ? 1 : 0) << k;
    int written = k <= 10 ? k : (k < 35 ? 10 : (k < 60 ? 35 : 60));
    ASSERT_EQ(CsvLines(csv), written) << k;
    ASSERT_NE(ReadFile(bin).find("BATCHES=" + std::to_string(written) + ",,"), std::string::npos) << k;
  }
  EXPECT_EQ(ReadFile(bin).size(), 256u + 60u * 24u);
}

TEST(ReportPipeline, SlowReportsAreAlwaysWrittenAndTheLastOneEndsTheRun) {
  // 0.25 s per write on average is not below 0.2: every report goes out. Then fast reports
  // 21-25 wait, and the last report (SimControl 1) writes them all and stops the run.
  auto simulator = MakeSimulator();
  std::string csv = ScratchPath("last.csv");
  simulator->FileCSV = simulator->CreateAsciiFile(&csv[0]);
  StartReports(*simulator);
  for (int k = 1; k <= 20; k++) {
    FillCurrentReport(*simulator, k);
    ASSERT_EQ(simulator->CheckReportSize(0.25 * simulator->NumberReports), 1) << k;
  }
  for (int k = 21; k <= 25; k++) {
    FillCurrentReport(*simulator, k);
    ASSERT_EQ(simulator->CheckReportSize(0.0), 0) << k;
  }
  EXPECT_EQ(CsvLines(csv), 20);
  FillCurrentReport(*simulator, 26);
  simulator->SimControl = 1;
  EXPECT_EQ(simulator->CheckReportSize(0.0), 1);
  EXPECT_EQ(CsvLines(csv), 26);
  EXPECT_EQ(simulator->SimControl, 2);
}

TEST(ReportPipeline, PacketsAreRecycledAndResetReturnsQueuedOnesUnwritten) {
  // At most 25 reports wait: 50 queued packets and the two being filled, 52 in all.
  auto simulator = MakeSimulator();
  StartReports(*simulator);
  std::set<DataPacket*> seen;
  for (int k = 1; k <= 303; k++) {
    FillCurrentReport(*simulator, k);
    simulator->CheckReportSize(0.0);
    seen.insert(simulator->CurPacket);
    seen.insert(simulator->CurSqrPacket);
  }
  EXPECT_LE(seen.size(), 52u);
  int queued = simulator->OutputPackets->GetCount(), unused = simulator->UnusedPackets->GetCount();
  EXPECT_GT(queued, 0);
  simulator->ResetDataPacketBuffer();
  EXPECT_EQ(simulator->OutputPackets->GetCount(), 0);
  EXPECT_EQ(simulator->UnusedPackets->GetCount(), unused + queued);
  simulator->SimControl = 1;  // the writer's entry point ends once nothing is left to write
  TavrinThread writer(SimulatorClass::StaticOutputThreadFunc, simulator.get());
  EXPECT_EQ(writer.Start()->WaitUntilDone(), 0);
  EXPECT_EQ(simulator->SimControl, 2);
}
