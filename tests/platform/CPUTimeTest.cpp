#include "platform/CPUTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

void SpinFor(std::chrono::milliseconds wall) {
  volatile double sink = 0;
  auto end = std::chrono::steady_clock::now() + wall;
  while (std::chrono::steady_clock::now() < end) sink = sink + 1.0;
}

}  // namespace

TEST(CPUTimeSeconds, BusyWorkCountsInSeconds) {
  // 300 ms of spinning on one core is about 0.3 processor seconds; a tick rate taken as
  // 1000 a second where clock() ticks 1000000 would show about 300.
  CPUTime timer;
  timer.Start();
  SpinFor(std::chrono::milliseconds(300));
  double seconds = timer.GetTime();
  EXPECT_GT(seconds, 0.1);
  EXPECT_LT(seconds, 3.0);
}

TEST(CPUTimeSeconds, SleepingUsesNoProcessorTime) {
  CPUTime timer;
  timer.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LT(timer.GetTime(), 0.1);
}

TEST(CPUTimeSeconds, StartAgainCountsFromTheNewStart) {
  CPUTime timer;
  timer.Start();
  SpinFor(std::chrono::milliseconds(200));
  timer.Start();
  EXPECT_LT(timer.GetTime(), 0.1);
}
