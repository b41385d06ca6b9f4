#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProcessRunner.h"
#include "RunningProcess.h"
#include "output/WireCodec.h"
#include "platform/TavrinSocket.h"

namespace {

const char kAnnouncement[] = "REGISTER:  Port: [";

// A first port that differs between runs, so test programs running at once rarely meet.
int PortBase() {
  static int next = 20000 + static_cast<int>(getpid() % 200) * 150;
  next = next > 60000 ? 20000 : next + 150;
  return next;
}

// The manager's side of the link: connects, reads the simulator's messages one at a time
// by their length field, and sends command bytes.
class TestManager {
 public:
  // What one message was: an acknowledgement, a processor-time message or a data record.
  struct Message {
    int length = 0;
    std::string bytes;
  };

  // A refusal is tried again for up to two seconds, so a slow start does not fail a test
  // about something else.
  bool ConnectTo(int port) {
    char host[] = "127.0.0.1";
    for (int i = 0; i < 200; i++) {
      socket_.reset(new TavrinSocket(true));
      testing::internal::CaptureStderr();   // the socket's report of each refusal
      bool connected = socket_->Connect(host, port);
      testing::internal::GetCapturedStderr();
      if (connected) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // The next whole message, or an empty one when none arrives within two seconds.
  Message Next() {
    Message message;
    std::string head = Read(4);
    if (head.size() != 4) return message;
    message.length = WireCodec::GetInt32(head.data());
    // The processor-time message alone counts only the bytes after its length field.
    int rest = message.length == 12 ? 12 : message.length - 4;
    message.bytes = head + Read(rest);
    return message;
  }

  Acknowledgement NextAcknowledgement() {
    Message message = Next();
    Acknowledgement ack{0, 0, 0, 0};
    std::string error;
    EXPECT_TRUE(WireCodec::DecodeAcknowledgement(message.bytes.data(), message.bytes.size(), ack,
                                                 error))
        << error;
    return ack;
  }

  // Skips reports until an acknowledgement comes; false when the link ends first.
  bool SkipToAcknowledgement(Acknowledgement& ack) {
    for (Message m = Next(); m.length != 0; m = Next()) {
      std::string error;
      if (m.length == WireCodec::AcknowledgementSize)
        return WireCodec::DecodeAcknowledgement(m.bytes.data(), m.bytes.size(), ack, error);
    }
    return false;
  }

  void SendCommand(char code) { ASSERT_EQ(socket_->Send(&code, 1), 1); }

 private:
  std::string Read(int length) {
    std::string bytes(static_cast<size_t>(length), '\0');
    int got = socket_->Select(2000) ? socket_->RecvBlock(&bytes[0], length) : 0;
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
  }

  std::unique_ptr<TavrinSocket> socket_;
};

// The port of the announcement line, or -1.
int AnnouncedPort(const std::string& line) {
  if (line.compare(0, sizeof kAnnouncement - 1, kAnnouncement) != 0) return -1;
  return std::stoi(line.substr(sizeof kAnnouncement - 1));
}

// A simulator started with -w, and a manager connected to it that has read the
// registration acknowledgement.
struct ManagedRun {
  explicit ManagedRun(std::vector<std::string> args)
      : dir(MakeTempDir()),
        process("l2_cache_sim", Words(std::move(args)), dir) {
    int port = AnnouncedPort(process.WaitForLine(kAnnouncement, 5000));
    connected = port > 0 && manager.ConnectTo(port);
    if (connected) registration = manager.NextAcknowledgement();
  }
  static std::vector<std::string> Words(std::vector<std::string> args) {
    args.insert(args.end(), {"-w", "-p", std::to_string(PortBase()), "-a", "A"});
    return args;
  }

  std::string dir;
  RunningProcess process;
  TestManager manager;
  bool connected = false;
  Acknowledgement registration{0, 0, 0, 0};
};

void ExpectClosingLines(const std::string& out) {
  size_t fired = out.find("Actions fired: ");
  ASSERT_NE(fired, std::string::npos) << out;
  EXPECT_NE(out.find("CPU time (s): ", fired), std::string::npos) << out;
}

// The number after "BATCHES=" in the ASCII trailer, or -1.
long TrailerBatches(const std::string& ascii) {
  size_t at = ascii.rfind("#META_DATA,BATCHES=");
  return at == std::string::npos ? -1 : std::stol(ascii.substr(at + 19));
}

}  // namespace

// Without -N the run has no end of its own: the manager reads reports of 10 observations
// and then says quit; the simulator answers (-2, 2) at its next report and stops there, so
// it ran a whole number of reports.
TEST(ManagerRun, RunWithoutBatchLimitEndsOnTheManagersQuit) {
  ManagedRun run({"-n", "10"});
  ASSERT_TRUE(run.connected);
  EXPECT_EQ(run.registration.status, -1);
  EXPECT_EQ(run.registration.code, 1);

  TestManager::Message cpu = run.manager.Next();
  EXPECT_EQ(cpu.length, 12);
  TestManager::Message data = run.manager.Next();
  DataRecord record;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeDataRecord(data.bytes.data(), data.bytes.size(), record, error))
      << error;
  ASSERT_EQ(record.sections.size(), 1u);
  EXPECT_EQ(record.sections[0].observations.size(), 10u);

  run.manager.SendCommand(2);
  Acknowledgement quit{0, 0, 0, 0};
  ASSERT_TRUE(run.manager.SkipToAcknowledgement(quit));
  EXPECT_EQ(quit.status, -2);
  EXPECT_EQ(quit.code, 2);
  EXPECT_EQ(quit.processId, run.registration.processId);

  ProcessResult r = run.process.Finish(10000);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("SOCKET::Quit\n"), std::string::npos);
  ExpectClosingLines(r.out);
  long batches = TrailerBatches(ReadFile(run.dir + "/A"));
  EXPECT_GE(batches, 10);
  EXPECT_EQ(batches % 10, 0);
}

// A manager that connects and quits at once: the quit is read at the first report
// boundary, and the run still ends with its closing lines.
TEST(ManagerRun, ManagerThatConnectsAndQuitsEndsTheRun) {
  ManagedRun run({"-n", "1"});
  ASSERT_TRUE(run.connected);
  run.manager.SendCommand(2);
  Acknowledgement quit{0, 0, 0, 0};
  ASSERT_TRUE(run.manager.SkipToAcknowledgement(quit));
  EXPECT_EQ(quit.status, -2);
  ProcessResult r = run.process.Finish(10000);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  ExpectClosingLines(r.out);
}

// With -w and no port to listen on there is no manager: no batch runs, the files are
// closed with no observation, the closing lines are still printed, and the exit status
// tells a manager waiting for the announcement that none will come.
TEST(ManagerRun, NoManagerLinkEndsWithoutABatch) {
  int start = 0;
  std::vector<std::unique_ptr<TavrinSocket>> holders;
  while (holders.size() < 100) {   // 100 ports in a row in use: every port the wait tries
    holders.clear();
    start = PortBase();
    for (int p = start; p < start + 100; p++) {
      holders.emplace_back(new TavrinSocket(true));
      if (!holders.back()->Bind(p) || !holders.back()->Listen(1)) break;   // in use: listened on
    }
  }
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim",
                               {"-w", "-p", std::to_string(start), "-N", "5", "-a", "A"}, dir);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("ERROR: Unable to bind a port\n"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("Actions fired: 0\nCPU time (s): "), std::string::npos) << r.out;
  EXPECT_EQ(TrailerBatches(ReadFile(dir + "/A")), 0);
}

namespace {

// One connection attempt, as a manager makes it the moment it has read the announcement.
bool ConnectOnce(const char* host, int port) {
  TavrinSocket socket(true);
  char name[64];
  std::snprintf(name, sizeof name, "%s", host);
  testing::internal::CaptureStderr();
  bool connected = socket.Connect(name, port);
  testing::internal::GetCapturedStderr();
  return connected;
}

// An IPv4 address of this machine other than the loopback one, or "" when it has none.
std::string NonLoopbackAddress() {
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return "";
  std::string found;
  for (ifaddrs* a = all; a != nullptr && found.empty(); a = a->ifa_next) {
    if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN];
    auto* in = reinterpret_cast<sockaddr_in*>(a->ifa_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr) continue;
    if (std::string(text).rfind("127.", 0) != 0) found = text;
  }
  freeifaddrs(all);
  return found;
}

}  // namespace

// The port listens before it is announced: a manager that connects once, as soon as it
// reads the line, is accepted every time.
TEST(ManagerPort, ManagerConnectingAsSoonAsItReadsTheAnnouncementIsAccepted) {
  for (int attempt = 0; attempt < 5; attempt++) {
    std::string dir = MakeTempDir();
    RunningProcess sim("l2_cache_sim",
                       {"-w", "-N", "1", "-p", std::to_string(PortBase()), "-a", "A"}, dir);
    int port = AnnouncedPort(sim.WaitForLine(kAnnouncement, 5000));
    ASSERT_GT(port, 0);
    EXPECT_TRUE(ConnectOnce("127.0.0.1", port)) << "attempt " << attempt;
    ProcessResult r = sim.Finish(10000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
  }
}

// Only the loopback interface listens unless -L names another address: from another
// interface the port is closed; with -L 0.0.0.0 it is open there too.
TEST(ManagerPort, PortListensOnLoopbackOnlyUnlessTheAddressIsGiven) {
  std::string other = NonLoopbackAddress();
  if (other.empty()) GTEST_SKIP() << "this machine has no IPv4 address but the loopback one";
  {
    RunningProcess sim("l2_cache_sim", {"-w", "-N", "1", "-p", std::to_string(PortBase())},
                       MakeTempDir());
    int port = AnnouncedPort(sim.WaitForLine(kAnnouncement, 5000));
    ASSERT_GT(port, 0);
    EXPECT_FALSE(ConnectOnce(other.c_str(), port)) << other;
    EXPECT_TRUE(ConnectOnce("127.0.0.1", port));
    EXPECT_EQ(sim.Finish(10000).exitCode, 0);
  }
  {
    RunningProcess sim("l2_cache_sim",
                       {"-L", "0.0.0.0", "-w", "-N", "1", "-p", std::to_string(PortBase())},
                       MakeTempDir());
    int port = AnnouncedPort(sim.WaitForLine(kAnnouncement, 5000));
    ASSERT_GT(port, 0);
    EXPECT_TRUE(ConnectOnce(other.c_str(), port)) << other;
    EXPECT_EQ(sim.Finish(10000).exitCode, 0);
  }
}
