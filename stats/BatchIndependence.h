#ifndef TAVRIN_STATS_BATCHINDEPENDENCE_H
#define TAVRIN_STATS_BATCHINDEPENDENCE_H

#include <vector>

// BatchIndependence: whether a series of batch means may be treated as independent, so a
// Student-t interval over them is sound. The test is von Neumann's ratio of the mean square
// successive difference to the variance (von Neumann 1941), in the form
// C = 1 - sum (x_{i+1} - x_i)^2 / (2 sum (x_i - mean)^2), which estimates the lag-1
// autocorrelation and is close to normal with variance (n - 2) / ((n - 1)(n + 1)) under
// independence (Young 1941); positive correlation, the one that makes intervals too narrow,
// is rejected one-sided. Correlated batches are merged pairwise (Law and Kelton, batch means).
class BatchIndependence {
 public:
  static const int MinimumBatches = 8;   // fewer and the test has no power worth the name

  static double Lag1Autocorrelation(const std::vector<double>& series);
  static double VonNeumannStatistic(const std::vector<double>& series);   // C above
  // True when independence is not rejected at the one-sided level alpha. A series shorter
  // than MinimumBatches is never accepted; a constant series is.
  static bool Accepts(const std::vector<double>& series, double alpha);
  // Means of consecutive groups of factor batches; an incomplete last group is dropped.
  static std::vector<double> Merge(const std::vector<double>& series, int factor);
};

#endif
