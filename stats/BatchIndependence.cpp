#include "BatchIndependence.h"

#include <boost/math/distributions/normal.hpp>
#include <cmath>

namespace {

double Mean(const std::vector<double>& series) {
  double sum = 0.0;
  for (double x : series) sum += x;
  return sum / static_cast<double>(series.size());
}

double SquaredDeviations(const std::vector<double>& series, double mean) {
  double sum = 0.0;
  for (double x : series) sum += (x - mean) * (x - mean);
  return sum;
}

}  // namespace

double BatchIndependence::Lag1Autocorrelation(const std::vector<double>& series) {
  if (series.size() < 2) return 0.0;
  double mean = Mean(series);
  double denominator = SquaredDeviations(series, mean);
  if (denominator == 0.0) return 0.0;
  double numerator = 0.0;
  for (size_t i = 0; i + 1 < series.size(); i++)
    numerator += (series[i] - mean) * (series[i + 1] - mean);
  return numerator / denominator;
}

double BatchIndependence::VonNeumannStatistic(const std::vector<double>& series) {
  if (series.size() < 2) return 0.0;
  double denominator = SquaredDeviations(series, Mean(series));
  if (denominator == 0.0) return 0.0;
  double successive = 0.0;
  for (size_t i = 0; i + 1 < series.size(); i++)
    successive += (series[i + 1] - series[i]) * (series[i + 1] - series[i]);
  return 1.0 - successive / (2.0 * denominator);
}

bool BatchIndependence::Accepts(const std::vector<double>& series, double alpha) {
  if (series.size() < static_cast<size_t>(MinimumBatches)) return false;
  double n = static_cast<double>(series.size());
  double standardError = std::sqrt((n - 2.0) / ((n - 1.0) * (n + 1.0)));
  boost::math::normal standard;
  double critical = boost::math::quantile(standard, 1.0 - alpha);
  return VonNeumannStatistic(series) / standardError <= critical;
}

std::vector<double> BatchIndependence::Merge(const std::vector<double>& series, int factor) {
  std::vector<double> merged;
  if (factor < 1) return merged;
  size_t groups = series.size() / static_cast<size_t>(factor);
  merged.reserve(groups);
  for (size_t g = 0; g < groups; g++) {
    double sum = 0.0;
    for (int i = 0; i < factor; i++) sum += series[g * factor + i];
    merged.push_back(sum / factor);
  }
  return merged;
}
