#include "platform/TavrinMutex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

int NameNumber(const TavrinMutex& mutex) {
  EXPECT_EQ(std::strncmp(mutex.GetName(), "mutex", 5), 0) << mutex.GetName();
  return std::atoi(mutex.GetName() + 5);
}

}  // namespace

TEST(TavrinMutexNames, EachNewMutexTakesTheNextNumber) {
  TavrinMutex first;
  TavrinMutex second;
  TavrinMutex third;
  EXPECT_EQ(NameNumber(second), NameNumber(first) + 1);
  EXPECT_EQ(NameNumber(third), NameNumber(first) + 2);
}

TEST(TavrinMutexNames, TheThirdMutexOfAProcessIsMutexThree) {
  // A fresh process (the death-test child re-runs only this test) counts from zero.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TavrinMutex a;
        TavrinMutex b;
        TavrinMutex c;
        std::exit(std::string(a.GetName()) == "mutex1" && std::string(c.GetName()) == "mutex3"
                      ? 0
                      : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(TavrinMutexExclusion, TwoThreadsNeverLoseAnIncrement) {
  // 2 threads x 200000 increments under the mutex: exactly 400000.
  TavrinMutex mutex;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 200000; i++) {
      TavrinMutexGuard guard(mutex);
      counter++;
    }
  };
  std::thread a(work);
  std::thread b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 400000);
}

TEST(TavrinMutexExclusion, GuardReleasesOnLeavingItsScope) {
  TavrinMutex mutex;
  { TavrinMutexGuard guard(mutex); }
  bool taken = false;
  std::thread other([&] {
    mutex.Get();
    taken = true;
    mutex.Release();
  });
  other.join();  // would never return if the guard had kept the mutex
  EXPECT_TRUE(taken);
}
