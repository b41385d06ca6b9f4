#include "platform/TavrinSocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

char kLoopback[] = "127.0.0.1";
char kEndMarker[] = ";;";

// A listener on the first free port from a start that differs between test processes.
int ListenOnFreePort(TavrinSocket& listener) {
  static int next = 21000 + static_cast<int>(
                                std::chrono::steady_clock::now().time_since_epoch().count() % 20000);
  while (!listener.Bind(next)) next++;
  EXPECT_TRUE(listener.Listen(5));
  return next++;
}

// One connected pair on the loopback interface.
struct Connection {
  TavrinSocket listener{true}, client{true}, server{false};
  int port = ListenOnFreePort(listener);
  Connection() {
    EXPECT_TRUE(client.Connect(kLoopback, port));
    EXPECT_TRUE(listener.Select(2000));  // a pending connection makes the listener readable
    EXPECT_TRUE(listener.Accept(server));
  }
  void Send(std::string text) {
    ASSERT_EQ(client.Send(&text[0], static_cast<int>(text.size())), static_cast<int>(text.size()));
  }
};

}  // namespace

TEST(TavrinSocketConnection, DataThenThePeersCloseAreSeenInOrder) {
  Connection link;
  EXPECT_FALSE(link.server.Select(0));  // nothing sent yet: a poll returns at once
  link.Send(std::string("\x01\x00\xff", 3) + "tail");
  EXPECT_TRUE(link.server.Select(1000));
  char buffer[16];
  ASSERT_EQ(link.server.RecvBlock(buffer, 7), 7);
  EXPECT_EQ(std::string(buffer, 7), std::string("\x01\x00\xff", 3) + "tail");
  link.Send("abc");
  link.client.Close();
  EXPECT_EQ(link.server.RecvBlock(buffer, 10), 3);  // stops early at the close
  EXPECT_EQ(link.server.Recv(buffer, 1), 0);
  EXPECT_EQ(link.server.GetErrorString(), nullptr);
}

TEST(TavrinSocketConnection, SendToAClosedPeerFailsWithoutEndingTheProcess) {
  // Without MSG_NOSIGNAL one of these sends raises SIGPIPE and the test program dies.
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
  // "out.b" (5) + ";" + "123" (3) + ";;" = 11 bytes; ";12" then "3;" must not end it early.
  Connection link;
  std::thread sender([&] {
    for (const char* piece : {"out.b", ";12", "3;", ";"}) {
      link.Send(piece);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  char buffer[513];
  int got = link.server.RecvBlock(buffer, 512, kEndMarker);
  sender.join();
  EXPECT_EQ(got, 11);
  EXPECT_STREQ(buffer, "out.b;123;;");
}

TEST(TavrinSocketEndMarker, StopsAtTheBufferLengthWithAZeroAfterIt) {
  Connection link;
  link.Send("0123456789abcdef");
  char buffer[9] = "zzzzzzzz";
  EXPECT_EQ(link.server.RecvBlock(buffer, 8, kEndMarker), 8);
  EXPECT_STREQ(buffer, "01234567");
}

TEST(TavrinSocketSelect, TimeOutKeepsItsSecondsAndMicroseconds) {
  // 1200 ms is 1 s and 200000 us; dropping either part returns before 1.2 s.
  TavrinSocket listener(true);
  ListenOnFreePort(listener);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(listener.Select(1200));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1190));
  EXPECT_EQ(listener.GetErrorString(), nullptr);
  listener.Close();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(listener.Select(0));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error in select9\n");  // EBADF is 9
}

TEST(TavrinSocketBind, PortInUseFailsSilentlyOtherFailuresPrint) {
  TavrinSocket first(true), second(true);
  int port = ListenOnFreePort(first);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(second.Bind(port));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(second.GetErrorString(), nullptr);
  // A socket that is already bound cannot be bound again: EINVAL, 22.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(first.Bind(port + 1));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "error in bind.  errno=22 (Port=" + std::to_string(port + 1) + ")\n");
  EXPECT_STREQ(first.GetErrorString(), "error in bind.  errno=");
}

// The side that closes a connection first keeps it for a minute (TIME_WAIT) on the port:
// a run ending after many clients would otherwise leave a new run no port to listen on.
// Sockets that ask to reuse the address (as the simulator's listener does) take it at once.
TEST(TavrinSocketBind, PortOfAClosedConnectionCanBeListenedOnAgainAtOnce) {
  int port = 0;
  {
    TavrinSocket listener(true), client(true), server(false);
    ASSERT_TRUE(listener.SetReuseAddress());
    port = ListenOnFreePort(listener);
    ASSERT_TRUE(client.Connect(kLoopback, port));
    ASSERT_TRUE(listener.Select(2000));
    ASSERT_TRUE(listener.Accept(server));
    server.Close();   // the server's side closes first and keeps the port
    listener.Close();
  }
  TavrinSocket again(true);
  ASSERT_TRUE(again.SetReuseAddress());
  EXPECT_TRUE(again.Bind(port));
  EXPECT_TRUE(again.Listen(1));
}

TEST(TavrinSocketConnect, RefusedOrUnresolvableConnectionReportsIt) {
  TavrinSocket listener(true);
  int port = ListenOnFreePort(listener);
  listener.Close();  // nobody listens on port now
  TavrinSocket client(true), other(true);
  char noHost[] = "";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(client.Connect(kLoopback, port));
  EXPECT_FALSE(other.Connect(noHost, port));
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(messages.rfind("error in connect: errno=111\nerror in connect: errno=", 0), 0u)
      << messages;  // ECONNREFUSED is 111
  EXPECT_STREQ(client.GetErrorString(), "error in connect: errno=");
  EXPECT_STREQ(other.GetErrorString(), "error in connect: errno=");
}
