#include "framework/state/ByteCopy.h"

#include <gtest/gtest.h>

#include <cstring>

// The state vector packs values without padding, so the copies are checked at an odd
// offset, and the bytes around each copy must stay untouched.
TEST(ByteCopy, ValueRoundTripsAtAnOddAddressWithoutTouchingItsNeighbours) {
  unsigned char buffer[12];
  std::memset(buffer, 0xAA, sizeof buffer);
  writeMemory(buffer + 1, 2.5);
  double back = 0;
  readMemory2(buffer + 1, &back);
  EXPECT_EQ(back, 2.5);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(buffer[9], 0xAA);  // a double covers bytes 1..8
}

TEST(ByteCopy, ArraysCopyExactlyTheGivenNumberOfElements) {
  unsigned char buffer[16];
  std::memset(buffer, 0xAA, sizeof buffer);
  const int values[3] = {-1, 7, 65536};
  writeArray(buffer + 3, values, 3);
  EXPECT_EQ(buffer[15], 0xAA);  // three ints cover bytes 3..14
  int back[4] = {0, 0, 0, 42};
  readArray(buffer + 3, back, 3);
  EXPECT_EQ(back[0], -1);
  EXPECT_EQ(back[1], 7);
  EXPECT_EQ(back[2], 65536);
  EXPECT_EQ(back[3], 42);
}

