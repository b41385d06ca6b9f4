#include "SequentialStoppingRule.h"

#include <cmath>
#include <limits>

SequentialStoppingRule::SequentialStoppingRule(double precision, double absTol,
                                               int64_t minObservations, double lookAhead)
    : _precision(precision), _absTol(absTol), _minObservations(minObservations),
      _lookAhead(lookAhead) {}

bool SequentialStoppingRule::Met(double mean, double halfWidth) const {
  if (!std::isfinite(halfWidth)) return false;
  // Law and Kelton's adjusted target: a half-width of gamma / (1 + gamma) of the estimate
  // bounds the error relative to the true mean by gamma.
  double adjusted = _precision / (1.0 + _precision);
  return halfWidth <= adjusted * std::fabs(mean) || (_absTol > 0.0 && halfWidth <= _absTol);
}

SequentialStoppingRule::Decision SequentialStoppingRule::Check(int64_t n, bool allMet) {
  if (n < _minObservations || !allMet) {
    _confirmAt = -1;
    return Continue;
  }
  if (_confirmAt >= 0 && n >= _confirmAt) return Stop;
  if (_confirmAt < 0) {
    int64_t more = static_cast<int64_t>(std::ceil(_lookAhead * static_cast<double>(n)));
    _confirmAt = n + (more < 1 ? 1 : more);
  }
  return Confirming;
}

int64_t SequentialStoppingRule::NextCheck(int64_t n) const {
  if (_confirmAt > n) return _confirmAt;
  return n < _minObservations ? _minObservations : n + 1;
}

double SequentialStoppingRule::ObservationsLeft(int64_t n, double ratio) {
  if (!std::isfinite(ratio)) return std::numeric_limits<double>::infinity();
  if (ratio <= 1.0) return 0.0;
  return static_cast<double>(n) * (ratio * ratio - 1.0);
}
