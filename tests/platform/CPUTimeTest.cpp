#include "platform/CPUTime.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <thread>

namespace {

// Processor seconds of the process, read independently of the stopwatch.
double UsedSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

TEST(CPUTimeSeconds, CountsProcessorSecondsAndNotSleep) {
  // 0.3 processor seconds of spinning must read as about 0.3; a tick rate taken as 1000 a
  // second where clock() ticks 1000000 times would show about 300. Sleeping adds nothing.
  CPUTime timer;
  timer.Start();
  volatile double sink = 0;
  for (double end = UsedSeconds() + 0.3; UsedSeconds() < end;) sink = sink + 1.0;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  double seconds = timer.GetTime();
  EXPECT_GT(seconds, 0.25);
  EXPECT_LT(seconds, 0.45);
  timer.Start();
  EXPECT_LT(timer.GetTime(), 0.05);
}
