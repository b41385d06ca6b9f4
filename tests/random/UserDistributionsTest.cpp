#include "random/UserDistributions.h"

#include <gtest/gtest.h>

#include "random/LaggedFibonacci.h"
#include "random/Tausworthe.h"

namespace {

TEST(UserDistributionsGenerators, GeneratorOneIsASeededTausworthe) {
  UserDistributions dist(1, 1);
  ASSERT_NE(dynamic_cast<Tausworthe*>(dist.RNG), nullptr);
  EXPECT_DOUBLE_EQ(dist.RNG->rnd(), 8193.0 / 2147483647.0);   // the first state after seed 1
}

TEST(UserDistributionsGenerators, OtherKindsGiveLaggedFibonacci) {
  for (int generator : {0, 2, 7, -1}) {
    UserDistributions dist(generator, 5);
    EXPECT_NE(dynamic_cast<LaggedFibonacci*>(dist.RNG), nullptr) << generator;
  }
  UserDistributions unseeded;
  EXPECT_NE(dynamic_cast<LaggedFibonacci*>(unseeded.RNG), nullptr);
}

// A seed of -1 is taken as the unsigned 32-bit 0xFFFFFFFF.
TEST(UserDistributionsGenerators, SeedIsTakenAsUnsignedThirtyTwoBits) {
  UserDistributions dist(1, -1);
  Tausworthe reference;
  reference.srnd(0xFFFFFFFFUL);
  EXPECT_EQ(dist.RNG->rnd(), reference.rnd());
}

TEST(UserDistributionsGlobal, TheDistributionIsTheStaticLaggedFibonacciObject) {
  EXPECT_EQ(TheDistribution, &TheGenerator);
  EXPECT_NE(dynamic_cast<LaggedFibonacci*>(TheDistribution->RNG), nullptr);
  double u = TheDistribution->RNG->rnd();
  EXPECT_GE(u, 0.0);
  EXPECT_LT(u, 1.0);
}

}  // namespace
