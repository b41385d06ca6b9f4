#include "platform/TavrinMutex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

TEST(TavrinMutexNames, TheThirdMutexOfAProcessIsMutexThree) {
  // A fresh process (the death-test child re-runs only this test) counts from zero.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TavrinMutex a;
        TavrinMutex b;
        TavrinMutex c;
        bool named = std::string(a.GetName()) == "mutex1" && std::string(c.GetName()) == "mutex3";
        std::exit(named ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
}

TEST(TavrinMutexExclusion, TwoThreadsNeverLoseAnIncrement) {
  // 2 threads x 200000 increments, each under the guard: exactly 400000.
  TavrinMutex mutex;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 200000; i++) {
      TavrinMutexGuard guard(mutex);
      counter++;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 400000);
}
