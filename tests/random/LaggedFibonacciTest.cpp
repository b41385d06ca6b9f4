#include "random/LaggedFibonacci.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The stream a seed makes, independent of the shared read position: the second and
// third batches that ranf_array yields after ranf_start (srnd throws the first away).
std::vector<double> ReferenceStream(int seed) {
  std::vector<double> stream(300);
  ranf_start(seed);
  ranf_array(stream.data(), 100);
  ranf_array(stream.data(), 100);
  ranf_array(stream.data() + 100, 100);
  ranf_array(stream.data() + 200, 100);
  return stream;
}

// Where the shared read position was at a seeding, found by locating the first value
// drawn after it in that seed's stream (the values are distinct). A position of 100 means
// the next draw refills first, so the first value is then stream[100].
int PositionOfFirstDraw(double value, const std::vector<double>& stream) {
  for (int i = 0; i <= 100; i++)
    if (stream[i] == value) return i;
  return -1;
}

// Seeds the generator and draws until the shared position is at the end of the batch, so
// that the next draw from it is stream[100] whatever the position was before.
void SeedAndDrawToBatchEnd(LaggedFibonacci& generator, int seed, const std::vector<double>& stream) {
  generator.srnd(seed);
  int k = PositionOfFirstDraw(generator.rnd(), stream);
  ASSERT_GE(k, 0);
  for (int position = k + 1; position < 100; position++) generator.rnd();
}

TEST(LaggedFibonacciStream, DrawsFollowTheSecondBatchAcrossRefills) {
  std::vector<double> stream = ReferenceStream(31415);
  LaggedFibonacci generator;
  generator.srnd(31415);
  int k = PositionOfFirstDraw(generator.rnd(), stream);
  ASSERT_GE(k, 0);
  for (int i = 1; i <= 150; i++) ASSERT_EQ(generator.rnd(), stream[k + i]) << "draw " << i;
}

TEST(LaggedFibonacciStream, ReadPositionSurvivesAReseed) {
  std::vector<double> stream = ReferenceStream(31415);
  LaggedFibonacci generator;
  SeedAndDrawToBatchEnd(generator, 31415, stream);
  for (int i = 0; i < 30; i++) generator.rnd();
  // The 30 draws after the batch end left the position at 30; the reseed rebuilds the
  // second batch but reads on from there instead of from its start.
  generator.srnd(31415);
  EXPECT_EQ(generator.rnd(), stream[30]);
  EXPECT_EQ(generator.rnd(), stream[31]);
}

TEST(LaggedFibonacciStream, InstancesShareOneReadPosition) {
  std::vector<double> stream = ReferenceStream(99);
  LaggedFibonacci first, second;
  SeedAndDrawToBatchEnd(first, 99, stream);
  EXPECT_EQ(first.rnd(), stream[100]);   // refills first's batch; the position is now 1
  // second was never seeded and its own batch is all zeros; its draw moves the shared
  // position on, so first skips stream[101].
  EXPECT_EQ(second.rnd(), 0.0);
  EXPECT_EQ(first.rnd(), stream[102]);
}

TEST(LaggedFibonacciStream, ValuesAreMultiplesOfTwoToTheMinus52) {
  LaggedFibonacci generator;
  generator.srnd(7);
  for (int i = 0; i < 1000; i++) {
    double scaled = std::ldexp(generator.rnd(), 52);
    ASSERT_EQ(scaled, std::floor(scaled));
  }
}

// Seeds of 2^31 and more use their low 31 bits; the largest seeds must still give values
// in [0, 1) (a 32-bit wrap of seed + 2 would start the state negative).
TEST(LaggedFibonacciSeeds, LargeSeedsUseTheirLowThirtyOneBits) {
  std::vector<double> masked = ReferenceStream(0x7FFFFFFF);
  LaggedFibonacci generator;
  generator.srnd(0xFFFFFFFFUL);
  EXPECT_GE(PositionOfFirstDraw(generator.rnd(), masked), 0);
  for (int i = 0; i < 10000; i++) {
    double u = generator.rnd();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

// Successive batches continue one lagged-Fibonacci sequence: each value is the sum
// modulo 1 of the values 100 and 37 places before it, across batch boundaries too.
TEST(LaggedFibonacciModule, BatchesFollowTheLagRecurrence) {
  std::vector<double> stream = ReferenceStream(4711);
  for (int n = 100; n < 300; n++) {
    double sum = stream[n - 100] + stream[n - 37];
    ASSERT_EQ(stream[n], sum - static_cast<int>(sum)) << "value " << n;
  }
}

// ranf_arr_cycle refills its own 1009-value buffer from the same state: its first value
// is what ranf_array of 1009 values would have put first.
TEST(LaggedFibonacciModule, ArrayCycleReturnsTheFirstValueOfANewLongBatch) {
  std::vector<double> reference(1009);
  ranf_start(12345);
  ranf_array(reference.data(), 1009);
  ranf_array(reference.data(), 1009);
  ranf_start(12345);
  ranf_arr_cycle();
  EXPECT_EQ(ranf_arr_cycle(), reference[0]);
}

}  // namespace
