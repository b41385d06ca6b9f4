#include "platform/TavrinCond.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/TavrinMutex.h"

TEST(TavrinCondSignal, SignalWithoutAWaiterIsLostAndTheNextWakesTheWaiter) {
  TavrinMutex mutex;
  TavrinCond cond;
  cond.Signal();  // nobody waits: this must not wake the waiter below
  std::atomic<bool> woke(false);
  std::thread waiter([&] {
    mutex.Get();
    cond.Wait(mutex);
    woke = true;
    mutex.Release();
  });
  while (cond.GetWaitersCount() != 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  mutex.Get();  // only possible because Wait released the mutex
  mutex.Release();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(woke);
  cond.Signal();
  waiter.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(cond.GetWaitersCount(), 0);
}
