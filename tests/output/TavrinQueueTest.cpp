#include "output/TavrinQueue.h"

#include <gtest/gtest.h>

TEST(TavrinQueueOrder, CapacityThreeDropsTheFourthAndReturnsTheRestInOrder) {
  int v[4];
  TavrinQueue<int*> queue(3);
  for (int* p : {&v[0], &v[1], &v[2], &v[3]}) queue.Push(p);  // the fourth is dropped
  EXPECT_EQ(queue.GetCount(), 3);
  EXPECT_EQ(queue.Pop(), &v[0]);
  EXPECT_EQ(queue.Pop(), &v[1]);
  EXPECT_EQ(queue.Pop(), &v[2]);
  EXPECT_EQ(queue.Pop(), nullptr);
  EXPECT_EQ(queue.GetCount(), 0);
}

TEST(TavrinQueueOrder, StaysFirstInFirstOutAcrossManyWraps) {
  // Two pushes and one pop per round fill a ring of 5 while crossing its end many times;
  // once full, pushes are dropped and the order must still hold.
  int values[40];
  TavrinQueue<int*> queue(5);
  int pushed = 0, popped = 0;
  for (int round = 0; round < 15; round++) {
    for (int k = 0; k < 2; k++)
      if (queue.GetCount() < 5) queue.Push(&values[pushed++]);
    ASSERT_EQ(queue.Pop(), &values[popped++]);
    ASSERT_EQ(queue.GetCount(), pushed - popped);
  }
  while (int* next = queue.Pop()) EXPECT_EQ(next, &values[popped++]);
  EXPECT_EQ(popped, pushed);
}
