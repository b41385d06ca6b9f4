#include "engine/Heap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::pair<int, int> EarliestOf(const Heap<int>& heap) {
  std::pair<int, int> earliest(-99, -99);
  heap.Earliest(earliest);
  return earliest;
}

TEST(HeapOrder, EarliestFollowsAModifiedKey) {
  Heap<int> heap(3);
  heap.Insert(3, 0);
  heap.Insert(1, 1);
  heap.Insert(2, 2);
  EXPECT_EQ(EarliestOf(heap), std::make_pair(1, 1));
  heap.ModifyKey(1, 5);   // the root grows past both others and sinks: 2 under index 2 rises
  EXPECT_EQ(EarliestOf(heap), std::make_pair(2, 2));
  heap.ModifyKey(0, -1);  // a key lowered from below rises to the root
  EXPECT_EQ(EarliestOf(heap), std::make_pair(-1, 0));
  EXPECT_EQ(heap.getElement(1), 5);
  EXPECT_EQ(heap.getElement(2), 2);
}

// Strict comparisons: an equal key neither rises above the root nor displaces it.
TEST(HeapOrder, AmongEqualSmallestKeysTheOneAtTheTopStays) {
  Heap<double> heap(4);
  heap.Insert(5.0, 0);
  heap.Insert(5.0, 1);
  heap.Insert(7.0, 2);
  std::pair<double, int> earliest;
  heap.Earliest(earliest);
  EXPECT_EQ(earliest.second, 0);
  heap.ModifyKey(2, 5.0);
  heap.ModifyKey(1, 5.0);
  heap.Earliest(earliest);
  EXPECT_EQ(earliest, std::make_pair(5.0, 0));
}

// A heap made with capacity 0 takes its first key into one new slot, and indices far
// past the initial range grow the index table by doubling until they fit.
TEST(HeapGrowth, ZeroCapacityHeapGrowsOnItsFirstInsert) {
  Heap<int> heap(0);
  heap.Insert(4, 0);
  EXPECT_EQ(EarliestOf(heap), std::make_pair(4, 0));
  heap.Insert(2, 37);
  heap.Insert(9, 5);
  EXPECT_EQ(EarliestOf(heap), std::make_pair(2, 37));
  EXPECT_EQ(heap.getElement(0), 4);
  EXPECT_EQ(heap.getElement(5), 9);
  EXPECT_EQ(heap.getElement(37), 2);
}

TEST(HeapGrowth, KeysSurviveRepeatedDoubling) {
  Heap<double> heap(1);
  // 100 keys inserted in decreasing order: each new key rises to the root.
  for (int i = 0; i < 100; i++) heap.Insert(100.0 - i, i);
  std::pair<double, int> earliest;
  heap.Earliest(earliest);
  EXPECT_EQ(earliest, std::make_pair(1.0, 99));
  for (int i = 0; i < 100; i++) heap.ModifyKey(i, 1000.0 + i);   // every key moves
  heap.Earliest(earliest);
  EXPECT_EQ(earliest, std::make_pair(1000.0, 0));
}

// Against a plain array of keys by index, through many inserts and changes: if a swap
// forgot to update either position table, some index would read another's key.
TEST(HeapConsistency, EveryIndexKeepsItsOwnKeyThroughManyChanges) {
  const int n = 64;
  Heap<int> heap(8);
  std::vector<int> keys(n);
  unsigned state = 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % 50);
  };
  for (int i = 0; i < n; i++) {
    keys[i] = next();
    heap.Insert(keys[i], i);
  }
  for (int step = 0; step < 2000; step++) {
    int index = next() % n;
    keys[index] = next();
    heap.ModifyKey(index, keys[index]);
    std::pair<int, int> earliest = EarliestOf(heap);
    ASSERT_EQ(earliest.first, *std::min_element(keys.begin(), keys.end())) << "step " << step;
    ASSERT_EQ(keys[earliest.second], earliest.first) << "step " << step;
  }
  for (int i = 0; i < n; i++) EXPECT_EQ(heap.getElement(i), keys[i]) << "index " << i;
}

TEST(HeapDeathTest, EarliestOfAnEmptyHeapFailsTheSizeAssertion) {
  Heap<int> heap(2);
  std::pair<int, int> earliest;
  EXPECT_DEATH(heap.Earliest(earliest), "size > 0");
}

}  // namespace
