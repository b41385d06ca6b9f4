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
