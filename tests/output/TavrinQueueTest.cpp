#include "output/TavrinQueue.h"

#include <gtest/gtest.h>

#include <thread>

TEST(TavrinQueueOrder, CapacityThreeDropsTheFourthAndReturnsTheRestInOrder) {
  int a = 1, b = 2, c = 3, d = 4;
  TavrinQueue<int*> queue(3);
  queue.Push(&a);
  queue.Push(&b);
  queue.Push(&c);
  EXPECT_EQ(queue.GetCount(), 3);
  queue.Push(&d);  // full: dropped
  EXPECT_EQ(queue.GetCount(), 3);
  EXPECT_EQ(queue.Pop(), &a);
  EXPECT_EQ(queue.Pop(), &b);
  EXPECT_EQ(queue.Pop(), &c);
  EXPECT_EQ(queue.Pop(), nullptr);
  EXPECT_EQ(queue.GetCount(), 0);
}

TEST(TavrinQueueOrder, StaysFirstInFirstOutAcrossManyWraps) {
  // Pushing two and popping one keeps the count growing by one per round until full,
  // crossing the end of the ring many times on the way.
  int values[40];
  TavrinQueue<int*> queue(5);
  int pushed = 0, popped = 0;
  for (int round = 0; round < 15; round++) {
    for (int k = 0; k < 2 && pushed < 40; k++) {
      if (queue.GetCount() < 5) queue.Push(&values[pushed++]);
    }
    ASSERT_EQ(queue.Pop(), &values[popped++]);
    EXPECT_EQ(queue.GetCount(), pushed - popped);
  }
  while (int* next = queue.Pop()) EXPECT_EQ(next, &values[popped++]);
  EXPECT_EQ(popped, pushed);
}

TEST(TavrinQueueOrder, FullAfterWrappingCountsItsCapacity) {
  int v[6];
  TavrinQueue<int*> queue(3);
  queue.Push(&v[0]);
  queue.Push(&v[1]);
  queue.Pop();
  queue.Push(&v[2]);
  queue.Push(&v[3]);  // end wrapped to 1, front at 1: full
  EXPECT_EQ(queue.GetCount(), 3);
  queue.Push(&v[4]);
  EXPECT_EQ(queue.Pop(), &v[1]);
  EXPECT_EQ(queue.Pop(), &v[2]);
  EXPECT_EQ(queue.Pop(), &v[3]);
  EXPECT_EQ(queue.Pop(), nullptr);
}

TEST(TavrinQueueSharing, TwoThreadsPushingLoseNothing) {
  // Two producers push 500 each into a queue of 1000: all 1000 arrive.
  int values[1000];
  TavrinQueue<int*> queue(1000);
  std::thread a([&] { for (int i = 0; i < 500; i++) queue.Push(&values[i]); });
  std::thread b([&] { for (int i = 500; i < 1000; i++) queue.Push(&values[i]); });
  a.join();
  b.join();
  EXPECT_EQ(queue.GetCount(), 1000);
}
