#include <gtest/gtest.h>

#include <vector>

#include "framework/List.h"

namespace {
struct Item {
  int id;
};
}  // namespace

TEST(ListGrowth, EleventhItemDoublesCapacityAndKeepsIndices) {
  Item items[11];
  List<Item> list;
  for (int i = 0; i < 11; i++) list.append(&items[i]);
  EXPECT_EQ(list.getNumItems(), 11);
  for (int i = 0; i < 11; i++) EXPECT_EQ(list.getItem(i), &items[i]);
  // The default capacity is 10, so the 11th append doubled it to 20; 9 free slots remain.
  for (int i = 0; i < 9; i++) list.insertItem(new Item{});
  EXPECT_EQ(list.getNumItems(), 20);
  for (int i = 11; i < 20; i++) delete list.getItem(i);
}

TEST(ListGrowth, AppendingAListReservesTwiceTheCombinedCount) {
  Item items[6];
  List<Item> a(2), b(4);
  a.append(&items[0]);
  a.append(&items[1]);
  for (int i = 2; i < 6; i++) b.append(&items[i]);
  a.append(&b);
  EXPECT_EQ(a.getNumItems(), 6);
  // 2 x (2 + 4) = 12 slots: six more inserts fit without growth.
  Item more[6];
  for (int i = 0; i < 6; i++) a.insertItem(&more[i]);
  EXPECT_EQ(a.getNumItems(), 12);
}

TEST(ListMembership, DuplicatePointerIsIgnored) {
  Item x;
  List<Item> list(3);
  list.append(&x);
  list.append(&x);
  list.insertItem(&x);
  EXPECT_EQ(list.getNumItems(), 1);
}

TEST(ListRemoval, RemovingTheFirstMovesTheLastIntoItsSlot) {
  Item a, b, c;
  List<Item> list(3);
  list.append(&a);
  list.append(&b);
  list.append(&c);
  list.remove(&a);
  ASSERT_EQ(list.getNumItems(), 2);
  EXPECT_EQ(list.getItem(0), &c);
  EXPECT_EQ(list.getItem(1), &b);
}

TEST(ListRemoval, ReplaceWithAnItemAlreadyHeldKeepsOneCopy) {
  Item a, b, c;
  List<Item> list(3);
  list.append(&a);
  list.append(&b);
  list.append(&c);
  list.replaceItem(&a, &b);   // [a, b, c] -> [c, b]
  ASSERT_EQ(list.getNumItems(), 2);
  EXPECT_EQ(list.getItem(0), &c);
  EXPECT_EQ(list.getItem(1), &b);
}

TEST(ListRemoval, ReplaceWithANewItemTakesTheOldSlot) {
  Item a, b, c;
  List<Item> list(3);
  list.append(&a);
  list.append(&c);
  list.replaceItem(&a, &b);   // [a, c] -> [b, c]
  EXPECT_EQ(list.getItem(0), &b);
  EXPECT_EQ(list.getItem(1), &c);
}

TEST(ListPrinting, EmptyListSaysSo) {
  List<Item> list;
  testing::internal::CaptureStdout();
  list.printList();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No items in the list\n");
}

TEST(ListBounds, ReadingOutsideTheItemsAbortsWithTheFrameworkMessage) {
  Item a;
  List<Item> list(2);
  EXPECT_DEATH(list.getItem(0), "!! Assertion failed in file .*, line [0-9]+");
  list.append(&a);
  EXPECT_DEATH(list.getItem(-1), "!! Assertion failed in file .*, line [0-9]+");
  EXPECT_DEATH(list.getItem(1), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(ListBounds, InsertWithoutAFreeSlotAborts) {
  Item a, b;
  List<Item> list(1);
  list.insertItem(&a);
  EXPECT_DEATH(list.insertItem(&b), "!! Assertion failed");
}

TEST(ListBounds, ZeroCapacityIsRejected) {
  EXPECT_DEATH(List<Item>(0), "!! Assertion failed");
}

// Past 64 items a list looks its items up in a hash index; every rule must read the same.
TEST(ListLongLists, DuplicateRuleRemoveReplaceAndClearHoldPastTheIndexThreshold) {
  std::vector<int> items(200);
  List<int> list;
  for (int i = 0; i < 100; i++) list.append(&items[i]);
  for (int i = 0; i < 100; i++) list.append(&items[i]);
  ASSERT_EQ(list.getNumItems(), 100);
  // remove moves the last item into the freed slot, and the removed item can come back.
  list.remove(&items[5]);
  EXPECT_EQ(list.getNumItems(), 99);
  EXPECT_EQ(list[5], &items[99]);
  EXPECT_FALSE(list.contains(&items[5]));
  list.append(&items[5]);
  EXPECT_EQ(list[99], &items[5]);
  // replaceItem with a new item takes the old one's slot; with one already held, the
  // old slot takes the last item.
  list.replaceItem(&items[7], &items[150]);
  EXPECT_EQ(list[7], &items[150]);
  EXPECT_FALSE(list.contains(&items[7]));
  EXPECT_TRUE(list.contains(&items[150]));
  list.replaceItem(&items[8], &items[150]);
  EXPECT_EQ(list.getNumItems(), 99);
  EXPECT_EQ(list[8], &items[5]);
  EXPECT_FALSE(list.contains(&items[8]));
  // Appending another long list skips what is held.
  List<int> other;
  for (int i = 90; i < 180; i++) other.append(&items[i]);
  list.append(&other);
  EXPECT_EQ(list.getNumItems(), 99 + 80 - 1);   // 100..179 are new, but 150 was held
  list.clearList();
  EXPECT_FALSE(list.contains(&items[0]));
  list.append(&items[0]);
  EXPECT_EQ(list.getNumItems(), 1);
}
