#ifndef TAVRIN_STATS_STATISTICS_H
#define TAVRIN_STATS_STATISTICS_H

#include <cstdint>

// ConfidenceInterval: a two-sided Student-t interval around a sample mean.
struct ConfidenceInterval {
  double level;       // e.g. 0.95
  double halfWidth;   // t(1 - (1 - level) / 2, n - 1) * s / sqrt(n); infinite for n < 2
  double lower;
  double upper;
};

// SampleStatistics: the count, mean and sample variance of a stream of observations,
// accumulated in one pass with Welford's update, so long runs of nearly equal values do
// not lose their variance to cancellation.
class SampleStatistics {
 public:
  void Add(double x);
  int64_t Count() const { return _count; }
  double Mean() const { return _mean; }
  double Variance() const;            // sample variance (divisor n - 1); 0 for n < 2
  ConfidenceInterval Interval(double level) const;

 private:
  int64_t _count = 0;
  double _mean = 0.0;
  double _sumSquaredDeviations = 0.0;
};

#endif
