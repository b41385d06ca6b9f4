#ifndef TAVRIN_TESTS_OUTPUT_SIMULATORFORTESTS_H
#define TAVRIN_TESTS_OUTPUT_SIMULATORFORTESTS_H

// Helpers of the output tests: byte strings, a simulator to call, scratch files, free
// loopback ports and a stand-in manager on the other end of the link.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "output/WireCodec.h"
#include "platform/TavrinSocket.h"

namespace testsupport {

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

inline std::string ScratchPath(const std::string& name) {
  return testing::TempDir() + "tavrin_output_" + name;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A first port that differs between runs, so parallel test programs rarely meet.
inline int PortBase() {
  static int next = 30000 + static_cast<int>(
                                std::chrono::steady_clock::now().time_since_epoch().count() % 20000);
  next = next > 64000 ? 30000 : next + 150;
  return next;
}

inline bool PortIsFree(int port) { return TavrinSocket(true).Bind(port); }

// The test's side of the link: connects, then reads and writes raw bytes.
class StandInManager {
 public:
  // Keeps trying for up to two seconds, since the simulator may not listen yet.
  bool ConnectTo(int port) {
    char host[] = "127.0.0.1";
    for (int i = 0; i < 200; i++) {
      socket_.reset(new TavrinSocket(true));
      testing::internal::CaptureStderr();  // refusals before the simulator listens
      bool connected = socket_->Connect(host, port);
      testing::internal::GetCapturedStderr();
      if (connected) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  std::string Read(int length) {
    std::string bytes(length, '\0');
    int got = socket_->Select(2000) ? socket_->RecvBlock(&bytes[0], length) : 0;
    bytes.resize(got > 0 ? got : 0);
    return bytes;
  }
  Acknowledgement ReadAcknowledgement() {
    std::string bytes = Read(WireCodec::AcknowledgementSize), error;
    Acknowledgement ack{0, 0, 0, 0};
    EXPECT_TRUE(WireCodec::DecodeAcknowledgement(bytes.data(), bytes.size(), ack, error)) << error;
    return ack;
  }
  DataRecord ReadRecord() {
    std::string bytes = Read(4), error;
    DataRecord record{0, 0, 0, {}};
    if (bytes.size() == 4) bytes += Read(WireCodec::GetInt32(bytes.data()) - 4);
    EXPECT_TRUE(WireCodec::DecodeDataRecord(bytes.data(), bytes.size(), record, error)) << error;
    return record;
  }
  void Send(std::string text) {
    ASSERT_EQ(socket_->Send(&text[0], static_cast<int>(text.size())), static_cast<int>(text.size()));
  }
  bool QuietFor(int milliseconds) { return !socket_->Select(milliseconds); }
  // Everything sent until the simulator closes the link or is quiet for the given time;
  // closed tells which.
  std::string ReadUntilClosed(int quietMilliseconds, bool& closed) {
    std::string all;
    std::vector<char> buffer(1 << 20);
    closed = false;
    while (socket_->Select(quietMilliseconds)) {
      int got = socket_->Recv(buffer.data(), static_cast<int>(buffer.size()));
      if (got <= 0) {
        closed = true;
        break;
      }
      all.append(buffer.data(), static_cast<size_t>(got));
    }
    return all;
  }
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
