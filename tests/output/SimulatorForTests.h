#ifndef TAVRIN_TESTS_OUTPUT_SIMULATORFORTESTS_H
#define TAVRIN_TESTS_OUTPUT_SIMULATORFORTESTS_H

// Helpers shared by the result-file and manager-link tests: a simulator of the example
// model, scratch files, free loopback ports and a stand-in manager on the other end.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestModels.h"
#include "TestStudy.h"
#include "engine/SimulatorClass.h"
#include "output/DataPacket.h"
#include "output/WireCodec.h"
#include "platform/TavrinSocket.h"

namespace testsupport {

// A simulator built from a command line around a small hand-built model with a reward
// model of no variables. The words stay alive for
// the whole test program, since the simulator may keep pointers into them.
inline std::unique_ptr<SimulatorClass> MakeSimulator(std::vector<std::string> words = {"-N", "1"}) {
  static std::vector<std::unique_ptr<std::string>> storage;
  words.insert(words.begin(), "sim");
  std::vector<char*> argv;
  for (const std::string& word : words) {
    storage.emplace_back(new std::string(word));
    argv.push_back(&(*storage.back())[0]);
  }
  argv.push_back(nullptr);
  unsetenv("SIMTEST");
  UseMeasuredModel(&MakeModel<RaceSAN>);  // any model: these tests make their own reports
  testing::internal::CaptureStdout();  // the set-up's progress lines are not under test
  std::unique_ptr<SimulatorClass> simulator(
      new SimulatorClass(static_cast<int>(words.size()), argv.data()));
  testing::internal::GetCapturedStdout();
  return simulator;
}

inline std::string ScratchPath(const std::string& name) {
  return testing::TempDir() + "tavrin_output_" + name;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

inline std::string BigEndian(double value) {
  char bytes[8];
  WireCodec::PutDouble(bytes, value);
  return std::string(bytes, 8);
}

// A first port to try that differs between runs, so parallel test processes rarely meet.
inline int PortBase() {
  static int next =
      30000 + static_cast<int>(std::chrono::steady_clock::now().time_since_epoch().count() % 20000);
  next += 150;
  if (next > 64000) next = 30000;
  return next;
}

// True when nobody holds port now.
inline bool PortIsFree(int port) {
  TavrinSocket probe(true);
  return probe.Bind(port);
}

// The test's side of the link: connects, then reads and writes raw bytes.
class StandInManager {
 public:
  // Keeps trying for up to two seconds, since the simulator may not listen yet.
  bool ConnectTo(int port) {
    char host[] = "127.0.0.1";
    for (int i = 0; i < 200; i++) {
      socket_.reset(new TavrinSocket(true));
      testing::internal::CaptureStderr();
      bool connected = socket_->Connect(host, port);
      testing::internal::GetCapturedStderr();
      if (connected) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  std::string Read(int length) {
    std::string bytes(length, '\0');
    if (!socket_->Select(2000)) return "";
    int got = socket_->RecvBlock(&bytes[0], length);
    bytes.resize(got > 0 ? got : 0);
    return bytes;
  }
  Acknowledgement ReadAcknowledgement() {
    std::string bytes = Read(WireCodec::AcknowledgementSize);
    Acknowledgement ack{0, 0, 0, 0};
    std::string error;
    EXPECT_TRUE(WireCodec::DecodeAcknowledgement(bytes.data(), bytes.size(), ack, error)) << error;
    return ack;
  }
  DataRecord ReadRecord() {
    std::string length = Read(4);
    DataRecord record{0, 0, 0, {}};
    if (length.size() != 4) {
      ADD_FAILURE() << "no record arrived";
      return record;
    }
    std::string bytes = length + Read(WireCodec::GetInt32(length.data()) - 4);
    std::string error;
    EXPECT_TRUE(WireCodec::DecodeDataRecord(bytes.data(), bytes.size(), record, error)) << error;
    return record;
  }
  void Send(const std::string& text) {
    std::string copy = text;
    ASSERT_EQ(socket_->Send(&copy[0], static_cast<int>(copy.size())),
              static_cast<int>(copy.size()));
  }
  bool QuietFor(int milliseconds) { return !socket_->Select(milliseconds); }
  bool SeesClose() {
    char byte;
    return socket_->Select(2000) && socket_->Recv(&byte, 1) == 0;
  }
  void Close() { socket_.reset(); }

 private:
  std::unique_ptr<TavrinSocket> socket_;
};

}  // namespace testsupport

#endif
