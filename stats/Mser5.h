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
  // The MSER-5 truncation, kept only when what it drops differs from what remains by more
  // than z standard errors (the remaining observations' spread, taken as independent). On a
  // series already free of bias, MSER-5 still drops an extreme start now and then, which
  // narrows the interval of what remains and lowers its coverage (about 1.5 points at 95%
  // with 25 to 50 batch means per client); a real initial bias passes the test easily.
  static size_t SignificantTruncation(const std::vector<double>& series, double z);
};

#endif
