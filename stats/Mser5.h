#ifndef TAVRIN_STATS_MSER5_H
#define TAVRIN_STATS_MSER5_H

#include <cstddef>
#include <vector>

// Mser5: the number of leading observations of a steady-state output series to discard as
// initial bias, by the MSER-5 rule (White 1997; White, Cobb and Spratt 2000): the series is
// cut into consecutive means of 5, and the truncation d chosen among the first half of
// them minimises the squared standard error of the mean of what remains,
// sum_{j>d} (Z_j - mean_d)^2 / (b - d)^2. A series too short to judge is not truncated.
class Mser5 {
 public:
  static const int GroupSize = 5;
  // Observations to drop from the front of series: a multiple of 5, at most half of it.
  static size_t Truncation(const std::vector<double>& series);
};

#endif
