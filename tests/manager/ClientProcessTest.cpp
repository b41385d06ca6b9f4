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

// A simulator that ends early with exit status 0 says why on its standard output (an
// absorbing state, no variable of the run kind); the manager keeps that line to report
// the client's end, and nothing else the simulator prints.
TEST(ClientProcess, KeepsTheSimulatorsWordOnWhyItEndedEarly) {
  ClientProcess process;
  std::string error;
  ASSERT_TRUE(process.Start({"/bin/sh", "-c",
                             "echo 'REGISTER:  Port: [12345]'; echo 'Simulator encountered an absorbing state and "
                             "is unable to proceed.  Terminating run.'; echo 'Actions fired: 3'"},
                            "", "", error))
      << error;
  for (int i = 0; i < 200 && !process.Exited(); i++) {
    process.ReadOutput();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  while (process.ReadOutput()) {
  }
  EXPECT_EQ(process.Notice(),
            "Simulator encountered an absorbing state and is unable to proceed.  Terminating run.");

  ClientProcess quiet;
  ASSERT_TRUE(quiet.Start({"/bin/sh", "-c", "echo 'Actions fired: 3'"}, "", "", error)) << error;
  for (int i = 0; i < 200 && !quiet.Exited(); i++) {
    quiet.ReadOutput();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  while (quiet.ReadOutput()) {
  }
  EXPECT_EQ(quiet.Notice(), "");
}
