#include "Statistics.h"

#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>

void SampleStatistics::Add(double x) {
  _count++;
  double delta = x - _mean;
  _mean += delta / static_cast<double>(_count);
  _sumSquaredDeviations += delta * (x - _mean);
}

double SampleStatistics::Variance() const {
  if (_count < 2) return 0.0;
  return _sumSquaredDeviations / static_cast<double>(_count - 1);
}

ConfidenceInterval SampleStatistics::Interval(double level) const {
  ConfidenceInterval ci{level, std::numeric_limits<double>::infinity(), 0.0, 0.0};
  if (_count >= 2) {
    boost::math::students_t t(static_cast<double>(_count - 1));
    double quantile = boost::math::quantile(t, 1.0 - (1.0 - level) / 2.0);
    ci.halfWidth = quantile * std::sqrt(Variance() / static_cast<double>(_count));
  }
  ci.lower = _mean - ci.halfWidth;
  ci.upper = _mean + ci.halfWidth;
  return ci;
}
