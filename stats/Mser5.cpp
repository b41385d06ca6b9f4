#include "Mser5.h"

#include <cmath>
#include <limits>

#include "Statistics.h"

size_t Mser5::Truncation(const std::vector<double>& series) {
  size_t groups = series.size() / GroupSize;
  if (groups < 4) return 0;
  std::vector<double> means(groups);
  for (size_t g = 0; g < groups; g++) {
    double sum = 0.0;
    for (int i = 0; i < GroupSize; i++) sum += series[g * GroupSize + i];
    means[g] = sum / GroupSize;
  }
  // Suffix sums give every candidate's mean and spread in one backward pass.
  std::vector<double> suffixSum(groups + 1, 0.0), suffixSquares(groups + 1, 0.0);
  for (size_t g = groups; g-- > 0;) {
    suffixSum[g] = suffixSum[g + 1] + means[g];
    suffixSquares[g] = suffixSquares[g + 1] + means[g] * means[g];
  }
  size_t best = 0;
  double bestValue = std::numeric_limits<double>::infinity();
  for (size_t d = 0; d <= groups / 2; d++) {
    double left = static_cast<double>(groups - d);
    double mean = suffixSum[d] / left;
    double spread = suffixSquares[d] - left * mean * mean;
    if (spread < 0.0) spread = 0.0;   // rounding on a constant tail
    double value = spread / (left * left);
    if (value < bestValue) {
      bestValue = value;
      best = d;
    }
  }
  return best * GroupSize;
}

size_t Mser5::SignificantTruncation(const std::vector<double>& series, double z) {
  size_t drop = Truncation(series);
  if (drop == 0) return 0;
  SampleStatistics dropped, kept;
  for (size_t i = 0; i < series.size(); i++) (i < drop ? dropped : kept).Add(series[i]);
  double spread = std::sqrt(kept.Variance());
  double standardError = spread * std::sqrt(1.0 / static_cast<double>(dropped.Count()) +
                                            1.0 / static_cast<double>(kept.Count()));
  return std::fabs(dropped.Mean() - kept.Mean()) > z * standardError ? drop : 0;
}
