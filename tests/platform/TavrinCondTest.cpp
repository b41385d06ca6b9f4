#include "platform/TavrinCond.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/TavrinMutex.h"

namespace {

void WaitForWaiters(TavrinCond& cond, int count) {
  while (cond.GetWaitersCount() != count) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

TEST(TavrinCondSignal, WakesAWaiterThatOwnsTheMutexAgain) {
  TavrinMutex mutex;
  TavrinCond cond;
  bool ready = false;
  std::atomic<bool> woke(false);
  std::thread waiter([&] {
    mutex.Get();
    while (!ready) cond.Wait(mutex);
    woke = true;
    mutex.Release();
  });
  WaitForWaiters(cond, 1);
  mutex.Get();  // only possible because Wait released the mutex
  ready = true;
  cond.Signal();
  mutex.Release();
  waiter.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(cond.GetWaitersCount(), 0);
}

TEST(TavrinCondSignal, SignalWithoutAWaiterIsLost) {
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
  WaitForWaiters(cond, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(woke);
  cond.Signal();
  waiter.join();
  EXPECT_TRUE(woke);
}

TEST(TavrinCondSignal, EachSignalWakesOneWaiter) {
  TavrinMutex mutex;
  TavrinCond cond;
  std::atomic<int> woken(0);
  auto wait = [&] {
    mutex.Get();
    cond.Wait(mutex);
    woken++;
    mutex.Release();
  };
  std::thread a(wait);
  std::thread b(wait);
  WaitForWaiters(cond, 2);
  cond.Signal();
  while (woken.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(woken.load(), 1);
  cond.Signal();
  a.join();
  b.join();
  EXPECT_EQ(woken.load(), 2);
}
