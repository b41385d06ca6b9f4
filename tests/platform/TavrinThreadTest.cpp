#include "platform/TavrinThread.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

unsigned long DoubleIt(void* data) {
  int* value = static_cast<int*>(data);
  *value *= 2;
  return static_cast<unsigned long>(*value) + 1;
}

}  // namespace

TEST(TavrinThreadRun, StartRunsTheEntryOnItsDataAndWaitReturnsAfterIt) {
  int value = 21;
  TavrinThread thread(DoubleIt, &value);
  EXPECT_EQ(value, 21);  // nothing runs before Start
  EXPECT_EQ(thread.Start(), &thread);
  EXPECT_EQ(thread.WaitUntilDone(), 0);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(thread.GetResult(), 43ul);
  EXPECT_EQ(TavrinThread(DoubleIt, &value).WaitUntilDone(), 1);  // never started
  EXPECT_EQ(value, 42);
}

TEST(TavrinThreadSleep, SleepsAtLeastTheGivenMilliseconds) {
  auto start = std::chrono::steady_clock::now();
  TavrinThread::Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}
