#include "platform/TavrinSocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

char kLoopback[] = "127.0.0.1";

// A listener on the first free port from a start that differs between test processes.
int ListenOnFreePort(TavrinSocket& listener) {
  static int next = 21000 + static_cast<int>(std::chrono::steady_clock::now().time_since_epoch().count() % 20000);
  for (int tries = 0; tries < 200; tries++, next++) {
    if (listener.Bind(next)) {
      EXPECT_TRUE(listener.Listen(5));
      return next++;
    }
  }
  ADD_FAILURE() << "no free port";
  return -1;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One connected pair on the loopback interface.
struct Connection {
  TavrinSocket listener{true};
  TavrinSocket client{true};
  TavrinSocket server{false};
  int port = -1;

  Connection() {
    port = ListenOnFreePort(listener);
    EXPECT_TRUE(client.Connect(kLoopback, port));
    EXPECT_TRUE(listener.Select(2000));
    EXPECT_TRUE(listener.Accept(server));
  }
};

void SendText(TavrinSocket& socket, const std::string& text) {
  std::string copy = text;
  ASSERT_EQ(socket.Send(&copy[0], static_cast<int>(copy.size())), static_cast<int>(copy.size()));
}

}  // namespace

TEST(TavrinSocketConnection, BytesSentArriveInOrderAndWhole) {
  Connection link;
  SendText(link.client, std::string("\x01\x00\xff", 3) + "tail");
  char buffer[16];
  ASSERT_EQ(link.server.RecvBlock(buffer, 7), 7);
  EXPECT_EQ(std::string(buffer, 7), std::string("\x01\x00\xff", 3) + "tail");
  EXPECT_EQ(link.server.GetErrorString(), nullptr);
}

TEST(TavrinSocketConnection, LargeBlockIsSentWhole) {
  // 4 MB is more than the loopback buffers take in one send, so Send must loop.
  Connection link;
  std::string block(4 << 20, '\0');
  for (size_t i = 0; i < block.size(); i++) block[i] = static_cast<char>(i * 7);
  std::string received(block.size(), '\0');
  int got = 0;
  std::thread reader([&] { got = link.server.RecvBlock(&received[0], static_cast<int>(received.size())); });
  EXPECT_EQ(link.client.Send(&block[0], static_cast<int>(block.size())), static_cast<int>(block.size()));
  reader.join();
  EXPECT_EQ(got, static_cast<int>(block.size()));
  EXPECT_TRUE(received == block);
}

TEST(TavrinSocketConnection, RecvBlockStopsEarlyWhenThePeerCloses) {
  Connection link;
  SendText(link.client, "abc");
  link.client.Close();
  char buffer[10];
  EXPECT_EQ(link.server.RecvBlock(buffer, 10), 3);
}

TEST(TavrinSocketConnection, SelectSeesDataAndThePeersClose) {
  Connection link;
  EXPECT_FALSE(link.server.Select(0));  // nothing sent yet: a poll returns at once
  SendText(link.client, "x");
  EXPECT_TRUE(link.server.Select(1000));
  char byte;
  EXPECT_EQ(link.server.Recv(&byte, 1), 1);
  link.client.Close();
  EXPECT_TRUE(link.server.Select(1000));
  EXPECT_EQ(link.server.Recv(&byte, 1), 0);
  EXPECT_EQ(link.server.GetErrorString(), nullptr);
}

TEST(TavrinSocketConnection, SendToAClosedPeerFailsWithoutEndingTheProcess) {
  // Without MSG_NOSIGNAL the second or third send raises SIGPIPE and the test dies.
  Connection link;
  link.client.Close();
  char block[1024] = {};
  int result = 1;
  for (int i = 0; i < 50 && result > 0; i++) {
    result = link.server.Send(block, sizeof(block));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_LE(result, 0);
}

TEST(TavrinSocketEndMarker, ReturnsWhenTheTextEndsWithTheMarkerAcrossSeveralSends) {
  // "out.b" (5) + ";" (1) + "123" (3) + ";;" (2) = 11 bytes.
  Connection link;
  std::thread sender([&] {
    for (const char* piece : {"out.b", ";12", "3;", ";"}) {
      SendText(link.client, piece);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  char buffer[513];
  char marker[] = ";;";
  int got = link.server.RecvBlock(buffer, 512, marker);
  sender.join();
  EXPECT_EQ(got, 11);
  EXPECT_STREQ(buffer, "out.b;123;;");
}

TEST(TavrinSocketEndMarker, StopsAtTheBufferLengthWithAZeroAfterIt) {
  Connection link;
  SendText(link.client, "0123456789abcdef");
  char buffer[9];
  std::memset(buffer, 'z', sizeof(buffer));
  char marker[] = ";;";
  EXPECT_EQ(link.server.RecvBlock(buffer, 8, marker), 8);
  EXPECT_STREQ(buffer, "01234567");
}

TEST(TavrinSocketEndMarker, ASingleSemicolonAtTheEndDoesNotEndTheText) {
  Connection link;
  SendText(link.client, "a;");
  link.client.Close();  // so the receive ends instead of waiting for more
  char buffer[513];
  char marker[] = ";;";
  EXPECT_EQ(link.server.RecvBlock(buffer, 512, marker), 2);
  EXPECT_STREQ(buffer, "a;");
}

TEST(TavrinSocketSelect, TimeOutKeepsItsSecondsAndMicroseconds) {
  // 1200 ms is 1 s and 200000 us; dropping either part returns before 1.2 s.
  TavrinSocket listener(true);
  ListenOnFreePort(listener);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(listener.Select(1200));
  EXPECT_GE(SecondsSince(start), 1.19);
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(listener.Select(250));
  EXPECT_GE(SecondsSince(start), 0.24);
  EXPECT_EQ(listener.GetErrorString(), nullptr);
}

TEST(TavrinSocketSelect, ClosedSocketFailsWithItsMessage) {
  TavrinSocket socket(true);
  socket.Close();
  socket.Close();  // a second close is harmless
  testing::internal::CaptureStderr();
  EXPECT_FALSE(socket.Select(0));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error in select9\n");  // EBADF is 9
  EXPECT_STREQ(socket.GetErrorString(), "error in select");
}

TEST(TavrinSocketBind, PortInUseFailsSilently) {
  TavrinSocket first(true);
  int port = ListenOnFreePort(first);
  TavrinSocket second(true);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(second.Bind(port));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(second.GetErrorString(), nullptr);
}

TEST(TavrinSocketBind, OtherBindFailuresPrintTheirMessage) {
  // A socket that is already bound cannot be bound again: EINVAL, 22.
  TavrinSocket socket(true);
  int port = ListenOnFreePort(socket);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(socket.Bind(port + 1));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "error in bind.  errno=22 (Port=" + std::to_string(port + 1) + ")\n");
  EXPECT_STREQ(socket.GetErrorString(), "error in bind.  errno=");
}

TEST(TavrinSocketConnect, RefusedConnectionReportsItsErrorNumber) {
  TavrinSocket listener(true);
  int port = ListenOnFreePort(listener);
  listener.Close();  // nobody listens on port now
  TavrinSocket client(true);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(client.Connect(kLoopback, port));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error in connect: errno=111\n");  // ECONNREFUSED
  EXPECT_STREQ(client.GetErrorString(), "error in connect: errno=");
}

TEST(TavrinSocketConnect, UnresolvableHostFailsWithTheConnectText) {
  TavrinSocket client(true);
  char noHost[] = "";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(client.Connect(noHost, 1));
  EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("error in connect: errno=", 0), 0u);
  EXPECT_STREQ(client.GetErrorString(), "error in connect: errno=");
}

TEST(TavrinSocketLifetime, UnopenedSocketHasNothingToSendOrClose) {
  TavrinSocket socket(false);
  char byte = 0;
  EXPECT_LE(socket.Send(&byte, 1), 0);
  EXPECT_LT(socket.Recv(&byte, 1), 0);
  testing::internal::CaptureStderr();
  socket.Close();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(TavrinSocket::InitializeSocketLibrary());
}
