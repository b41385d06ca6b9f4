#include "ClientProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// The announcement is read whatever else the simulator prints; a port above 32767 may be
// shown as its signed 16-bit value.
TEST(ClientProcess, ParsesTheAnnouncementLine) {
  EXPECT_EQ(ClientProcess::ParseAnnouncement("REGISTER:  Port: [10002]"), 10002);
  EXPECT_EQ(ClientProcess::ParseAnnouncement("REGISTER:  Port: [-25536]"), 40000);
  EXPECT_EQ(ClientProcess::ParseAnnouncement("REGISTER:  Port: [abc]"), -1);
  EXPECT_EQ(ClientProcess::ParseAnnouncement("Port: 10000"), -1);
}

// Through a launcher without {host}, the wrapper reports the host the client runs on, and
// the words reach the program unchanged, quotes and spaces included.
TEST(ClientProcess, LauncherRunsTheWordsAndReportsTheHost) {
  ClientProcess process;
  std::string error;
  ASSERT_TRUE(process.Start({"/bin/sh", "-c", "echo 'REGISTER:  Port: [12345]'; echo \"$0\" >&2", "it's x"},
                            "env", "", error)) << error;
  for (int i = 0; i < 200 && !process.Exited(); i++) {
    process.ReadOutput();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  while (process.ReadOutput()) {
  }
  EXPECT_EQ(process.Port(), 12345);
  EXPECT_NE(process.Host(), "127.0.0.1");
  EXPECT_EQ(process.ErrorText(), "it's x");
  EXPECT_EQ(process.ExitCode(), 0);
}
