#include "Mser5.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// A series that starts far from its mean and then settles: MSER-5 must drop the biased
// start (and no more than half); a stationary series must keep nearly everything.
TEST(Mser5Truncation, DropsABiasedStartAndKeepsAStationarySeries) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<double> biased;
  for (int i = 0; i < 1000; i++) biased.push_back((i < 100 ? 20.0 : 0.0) + noise(random));
  size_t drop = Mser5::Truncation(biased);
  EXPECT_GE(drop, 100u);
  EXPECT_LE(drop, 150u);
  EXPECT_EQ(drop % 5, 0u);

  std::vector<double> stationary;
  for (int i = 0; i < 1000; i++) stationary.push_back(noise(random));
  EXPECT_LE(Mser5::Truncation(stationary), 100u);
}

// The truncation never passes half the series, even when the series drifts throughout,
// and a series shorter than four groups is left whole.
TEST(Mser5Truncation, NeverDropsMoreThanHalfAndLeavesShortSeries) {
  std::vector<double> drifting;
  for (int i = 0; i < 200; i++) drifting.push_back(200.0 - i);
  EXPECT_LE(Mser5::Truncation(drifting), 100u);
  EXPECT_EQ(Mser5::Truncation({50.0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), 0u);
}

// The guarded truncation leaves a stationary series whole far more often than plain MSER-5
// does, and still drops a real biased start.
TEST(Mser5Truncation, SignificanceGuardSparesStationarySeriesButNotBias) {
  std::mt19937 random(3);
  std::normal_distribution<double> noise(0.0, 1.0);
  int plain = 0, guarded = 0, caught = 0;
  for (int run = 0; run < 400; run++) {
    std::vector<double> stationary, biased;
    for (int i = 0; i < 50; i++) stationary.push_back(noise(random));
    for (int i = 0; i < 50; i++) biased.push_back(noise(random) + (i < 10 ? 3.0 : 0.0));
    plain += Mser5::Truncation(stationary) > 0;
    guarded += Mser5::SignificantTruncation(stationary, 2.576) > 0;
    caught += Mser5::SignificantTruncation(biased, 2.576) >= 10;
  }
  EXPECT_LT(guarded * 5, plain);
  EXPECT_GE(caught, 360);
}
