#include "random/Tausworthe.h"

#include <gtest/gtest.h>


namespace {

TEST(TauswortheStates, SeedZeroStaysZero) {
  Tausworthe generator;
  generator.srnd(0);
  for (int i = 0; i < 5; i++) EXPECT_EQ(generator.rnd(), 0.0);
}

// 0x80000000 XOR (0x80000000 << 13) is 0x80000000, and the 31-bit mask clears it.
TEST(TauswortheStates, SeedWithOnlyTheTopBitCollapsesToZero) {
  Tausworthe generator;
  generator.srnd(0x80000000UL);
  EXPECT_EQ(generator.rnd(), 0.0);
  EXPECT_EQ(generator.rnd(), 0.0);
}

// Working backwards from the state 0x7FFFFFFF: before the right shift by 18 (its own
// inverse on 31 bits, as 2 * 18 > 31) it was 0x7FFFFFFF ^ 0x1FFF = 0x7FFFE000; the mask
// only clears bit 31; s ^ (s << 13) = t is undone by s = t ^ (t << 13) ^ (t << 26):
// 0x7FFFE000 ^ 0xFC000000 ^ 0 = 0x83FFE000. The state 0x7FFFFFFF times f, the double
// nearest 1/(2^31 - 1), rounds to exactly 1.0.
TEST(TauswortheStates, AllOnesStateGivesExactlyOne) {
  Tausworthe generator;
  generator.srnd(0x83FFE000UL);
  EXPECT_EQ(generator.rnd(), 1.0);
}

// Seed 1: 1 ^ (1 << 13) = 0x2001, unchanged by the mask and by the shift by 18: the
// value is 8193 / (2^31 - 1). Then 0x2001 ^ 0x4002000 = 0x4000001; 0x4000001 >> 18 is
// 0x100, so the state becomes 0x4000101 = 67109121.
TEST(TauswortheStates, SeedOneGivesTheFirstStatesOfTheRecurrence) {
  Tausworthe generator;
  generator.srnd(1);
  EXPECT_DOUBLE_EQ(generator.rnd(), 8193.0 / 2147483647.0);
  EXPECT_DOUBLE_EQ(generator.rnd(), 67109121.0 / 2147483647.0);
}

TEST(TauswortheStates, NonZeroStateNeverReachesZero) {
  Tausworthe generator;
  generator.srnd(123456789);
  for (int i = 0; i < 200000; i++) ASSERT_GT(generator.rnd(), 0.0);
}

}  // namespace
