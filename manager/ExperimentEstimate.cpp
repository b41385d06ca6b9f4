#include "ExperimentEstimate.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "BatchIndependence.h"
#include "Mser5.h"
#include "Statistics.h"

namespace {

const double kTruncationZ = 2.576;   // a truncation is kept when significant at 1%, two-sided

}  // namespace

double VariableEstimate::RelativeHalfWidth() const {
  if (!std::isfinite(halfWidth)) return std::numeric_limits<double>::infinity();
  if (mean == 0.0) return halfWidth == 0.0 ? 0.0 : std::numeric_limits<double>::infinity();
  return halfWidth / std::fabs(mean);
}

const char* VariableEstimate::StatusName(Status status) {
  switch (status) {
    case Met: return "met";
    case NotMet: return "not met";
    case Correlated: return "correlated";
    case Insufficient: return "insufficient";
    case Constant: return "constant";
  }
  return "?";
}

ExperimentEstimate::ExperimentEstimate(bool steadyState, double confidence,
                                       double independenceAlpha)
    : _steadyState(steadyState), _confidence(confidence), _alpha(independenceAlpha) {}

void ExperimentEstimate::AddClient(int client) {
  _series[client];
  _frozen.emplace(client, false);
}

void ExperimentEstimate::AddObservations(int client, int variable, const double* values,
                                         int count) {
  std::vector<double>& series = _series[client][variable];
  series.insert(series.end(), values, values + count);
  _frozen.emplace(client, false);
}

int64_t ExperimentEstimate::Count(int client, int variable) const {
  auto c = _series.find(client);
  if (c == _series.end()) return 0;
  auto v = c->second.find(variable);
  return v == c->second.end() ? 0 : static_cast<int64_t>(v->second.size());
}

int64_t ExperimentEstimate::ReachedLevel(const std::vector<int>& variables, int* laggard) const {
  int64_t growing = std::numeric_limits<int64_t>::max();
  int64_t longest = 0;
  if (laggard != nullptr) *laggard = -1;
  for (const auto& c : _series) {
    bool frozen = Frozen(c.first);
    for (int v : variables) {
      int64_t n = Count(c.first, v);
      longest = std::max(longest, n);
      if (!frozen && n < growing) {
        growing = n;
        if (laggard != nullptr) *laggard = c.first;
      }
    }
  }
  return growing == std::numeric_limits<int64_t>::max() ? longest : growing;
}

int64_t ExperimentEstimate::ShortestSeries(int client, const std::vector<int>& variables) const {
  int64_t shortest = std::numeric_limits<int64_t>::max();
  for (int v : variables) shortest = std::min(shortest, Count(client, v));
  return variables.empty() ? 0 : shortest;
}

bool ExperimentEstimate::Frozen(int client) const {
  auto f = _frozen.find(client);
  return f != _frozen.end() && f->second;
}

int64_t ExperimentEstimate::PooledCount(int variable, int64_t level) const {
  int64_t n = 0;
  for (const auto& c : _series) n += std::min(level, Count(c.first, variable));
  return n;
}

std::vector<int> ExperimentEstimate::Variables() const {
  std::vector<int> all;
  for (const auto& c : _series)
    for (const auto& v : c.second) all.push_back(v.first);
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return all;
}

std::vector<int> ExperimentEstimate::Clients() const {
  std::vector<int> all;
  for (const auto& c : _series) all.push_back(c.first);
  return all;
}

std::vector<double> ExperimentEstimate::Prefix(int client, int variable, int64_t level) const {
  auto c = _series.find(client);
  if (c == _series.end()) return {};
  auto v = c->second.find(variable);
  if (v == c->second.end()) return {};
  size_t n = static_cast<size_t>(std::min<int64_t>(level, static_cast<int64_t>(v->second.size())));
  return std::vector<double>(v->second.begin(), v->second.begin() + static_cast<long>(n));
}

VariableEstimate ExperimentEstimate::Estimate(int variable, int64_t level) const {
  return _steadyState ? SteadyState(variable, level) : Terminating(variable, level);
}

// The clients are taken in client order and each client's observations in their order, so
// the sums, and so the result, are the same to the bit whenever the same data is pooled.
VariableEstimate ExperimentEstimate::Terminating(int variable, int64_t level) const {
  VariableEstimate e;
  e.variable = variable;
  SampleStatistics statistics;
  for (const auto& c : _series) {
    std::vector<double> values = Prefix(c.first, variable, level);
    if (values.empty()) continue;
    e.clients++;
    for (double x : values) statistics.Add(x);
  }
  e.observations = statistics.Count();
  e.mean = statistics.Mean();
  e.halfWidth = statistics.Interval(_confidence).halfWidth;
  e.status = e.observations >= 2 ? VariableEstimate::NotMet : VariableEstimate::Insufficient;
  return e;
}

VariableEstimate ExperimentEstimate::SteadyState(int variable, int64_t level) const {
  VariableEstimate e;
  e.variable = variable;
  std::vector<std::vector<double>> kept;
  for (const auto& c : _series) {
    std::vector<double> values = Prefix(c.first, variable, level);
    if (values.empty()) continue;
    size_t drop = Mser5::SignificantTruncation(values, kTruncationZ);
    e.truncated += static_cast<int64_t>(drop);
    kept.emplace_back(values.begin() + static_cast<long>(drop), values.end());
    e.clients++;
  }
  e.halfWidth = std::numeric_limits<double>::infinity();
  for (int factor = 1; factor <= MaximumMergeFactor; factor *= 2) {
    // The clients' merged series end to end: pairs across a client boundary are
    // independent, as the test assumes of every pair.
    std::vector<double> pooled;
    for (const std::vector<double>& series : kept) {
      std::vector<double> merged = BatchIndependence::Merge(series, factor);
      pooled.insert(pooled.end(), merged.begin(), merged.end());
    }
    if (pooled.size() < static_cast<size_t>(MinimumPooledBatches)) {
      e.status = factor == 1 ? VariableEstimate::Insufficient : VariableEstimate::Correlated;
      if (factor == 1) e.observations = static_cast<int64_t>(pooled.size());
      break;
    }
    SampleStatistics statistics;
    for (double x : pooled) statistics.Add(x);
    e.observations = statistics.Count();
    e.mean = statistics.Mean();
    e.mergeFactor = factor;
    if (BatchIndependence::Accepts(pooled, _alpha)) {
      e.halfWidth = statistics.Interval(_confidence).halfWidth;
      e.status = VariableEstimate::NotMet;
      return e;
    }
    e.status = VariableEstimate::Correlated;
  }
  return e;
}
