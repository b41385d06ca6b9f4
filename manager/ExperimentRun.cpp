#include "ExperimentRun.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const double kLevelGrowth = 1.05;   // each check looks at 5% more observations per client

int64_t NextLevel(int64_t level) {
  return std::max<int64_t>(level + 1, static_cast<int64_t>(std::ceil(level * kLevelGrowth)));
}

}  // namespace

ExperimentRun::ExperimentRun(int number, std::string name,
                             std::vector<std::pair<std::string, std::string>> globals,
                             const Settings& settings, const StudyDescription* study)
    : _number(number), _name(std::move(name)), _globals(std::move(globals)),
      _settings(settings), _study(study),
      _estimate(settings.steadyState, settings.confidence, settings.independenceAlpha),
      _rule(settings.precision, settings.absTol, settings.minObs, settings.lookAhead),
      _worstRatio(std::numeric_limits<double>::infinity()) {}

void ExperimentRun::AddObservations(int client, int variable, const double* values, int count) {
  _estimate.AddObservations(client, variable, values, count);
  auto known = _nonZero.find(variable);
  if (known == _nonZero.end()) {
    known = _nonZero.emplace(variable, false).first;
    _observedStale = true;
  }
  bool& nonZero = known->second;
  for (int i = 0; i < count && !nonZero; i++) {
    nonZero = values[i] != 0.0;
    if (nonZero) _observedStale = true;
  }
  _received[variable] += count;
}

std::string ExperimentRun::VariableName(int variable) const {
  std::string name = _study != nullptr ? _study->VariableName(variable) : "";
  return name.empty() ? "variable " + std::to_string(variable) : name;
}

const std::vector<int>& ExperimentRun::ObservedVariables() const {
  if (!_observedStale) return _observed;
  _observed.clear();
  for (const auto& v : _nonZero) {
    bool known = _study != nullptr && !_study->VariableName(v.first).empty();
    if (known ? _study->Observes(v.first, _settings.steadyState) : v.second)
      _observed.push_back(v.first);
  }
  _observedStale = false;
  return _observed;
}

std::vector<int> ExperimentRun::AllZeroVariables() const {
  std::vector<int> zero;
  for (const auto& v : _nonZero) {
    bool known = _study != nullptr && !_study->VariableName(v.first).empty();
    if (!known && !v.second) zero.push_back(v.first);
  }
  return zero;
}

// The half-width the stopping rule accepts (its adjusted relative target, or the absolute
// tolerance), so the estimate of the observations left matches when it will stop.
double ExperimentRun::Target(const VariableEstimate& e) const {
  double adjusted = _settings.precision / (1.0 + _settings.precision);
  return std::max(adjusted * std::fabs(e.mean), _settings.absTol);
}

std::vector<VariableEstimate> ExperimentRun::EstimatesAt(int64_t level, bool& allMet,
                                                         double& worst, int& worstVariable) const {
  std::vector<VariableEstimate> estimates;
  allMet = true;
  worst = 0.0;
  worstVariable = -1;
  for (int v : ObservedVariables()) {
    VariableEstimate e = _estimate.Estimate(v, level);
    // A sample of identical values has a zero-width interval that says nothing of the
    // variable's spread; only an absolute tolerance can accept it. Once the minimum sample
    // is in, such a variable (a probability that is always 1, a rare event never seen) no
    // longer holds the experiment back, since more of the same would never meet the target:
    // it is reported as "constant", not as met.
    bool constant = false;
    if (e.status == VariableEstimate::NotMet && e.halfWidth == 0.0 && _settings.absTol == 0.0) {
      constant = _estimate.PooledCount(v, level) >= _settings.minObs;
      e.status = constant ? VariableEstimate::Constant : VariableEstimate::Insufficient;
    }
    bool met = e.status == VariableEstimate::NotMet && _rule.Met(e.mean, e.halfWidth);
    if (met) e.status = VariableEstimate::Met;
    allMet = allMet && (met || constant);
    double target = Target(e);
    double ratio = !std::isfinite(e.halfWidth) ? std::numeric_limits<double>::infinity()
                   : target > 0.0             ? e.halfWidth / target
                   : e.halfWidth == 0.0       ? 0.0
                                              : std::numeric_limits<double>::infinity();
    if (worstVariable < 0 || ratio > worst) {
      worst = ratio;
      worstVariable = v;
    }
    estimates.push_back(e);
  }
  if (estimates.empty()) allMet = false;
  return estimates;
}

// The observations pooled at a level: the fewest over the observed variables.
int64_t ExperimentRun::PooledAt(int64_t level) const {
  int64_t n = std::numeric_limits<int64_t>::max();
  for (int v : ObservedVariables()) n = std::min(n, _estimate.PooledCount(v, level));
  return n;
}

// Checks are made at fixed levels (2, 3, ... growing by 5%), each on exactly the first L
// observations of every client, however many have arrived since: so whether and where the
// experiment stops depends on the seeds alone, not on how the reports were cut in transit.
bool ExperimentRun::CheckStop() {
  if (_state != Running) return false;
  const std::vector<int>& variables = ObservedVariables();
  if (variables.empty()) return false;
  int64_t reached = _estimate.ReachedLevel(variables, &_laggard);
  while (reached >= _nextLevel) {
    int64_t level = _nextLevel;
    bool allMet = false;
    double worst = 0.0;
    std::vector<VariableEstimate> estimates = EstimatesAt(level, allMet, worst, _worstVariable);
    int64_t n = PooledAt(level);
    _observations = n;
    _worstRatio = worst;
    _history.push_back({n, estimates});
    _nextLevel = NextLevel(level);
    bool atLimit = _settings.maxObs > 0 && n >= _settings.maxObs;
    if (_rule.Check(n, allMet) == SequentialStoppingRule::Stop || atLimit) {
      _final = estimates;
      _state = Done;
      _stopLevel = level;
      _reason = allMet ? "" : "observation limit reached";
      return true;
    }
  }
  return false;
}

bool ExperimentRun::CheckStopAfter(int client) {
  if (_state != Running) return false;
  const std::vector<int>& variables = ObservedVariables();
  if (variables.empty()) return false;
  if (_settings.maxObs > 0) {
    int64_t fewest = std::numeric_limits<int64_t>::max();
    for (int v : variables) fewest = std::min(fewest, _received[v]);
    if (fewest >= 2 * _settings.maxObs) {
      StopAtLimitWithLaggard();
      return true;
    }
  }
  // The level moves only when its laggard (or a frozen one's successor) reaches it.
  if (_laggard >= 0 && _laggard != client && !_estimate.Frozen(_laggard) &&
      _estimate.ShortestSeries(_laggard, variables) < _nextLevel)
    return false;
  return CheckStop();
}

void ExperimentRun::StopAtLimitWithLaggard() {
  _estimate.FreezeAll();
  int64_t low = 1, high = std::max<int64_t>(1, _estimate.ReachedLevel(ObservedVariables()));
  while (low < high) {
    int64_t middle = low + (high - low) / 2;
    if (PooledAt(middle) >= _settings.maxObs)
      high = middle;
    else
      low = middle + 1;
  }
  bool allMet = false;
  double worst = 0.0;
  _final = EstimatesAt(low, allMet, worst, _worstVariable);
  _observations = PooledAt(low);
  _worstRatio = worst;
  _history.push_back({_observations, _final});
  _state = Done;
  _stopLevel = low;
  _reason = "observation limit reached while a client lagged behind the others";
}

void ExperimentRun::Finish(const std::string& reason, int64_t upTo) {
  if (_state == Done || _state == Failed) return;
  // Nothing more comes to an experiment that ends: a client still growing (a replacement
  // that has sent little) must not hold back what the others sent.
  _estimate.FreezeAll();
  bool allMet = false;
  double worst = 0.0;
  const std::vector<int>& variables = ObservedVariables();
  int64_t level = _estimate.ReachedLevel(variables);
  if (upTo > 0) level = _stopLevel = std::min(level, upTo);
  _final = EstimatesAt(level, allMet, worst, _worstVariable);
  _worstRatio = worst;
  _state = Done;
  _reason = reason;
}

void ExperimentRun::Fail(const std::string& reason) {
  Finish(reason);
  _state = Failed;
}

int64_t ExperimentRun::ObservationsLeft() const {
  double left = SequentialStoppingRule::ObservationsLeft(_observations, _worstRatio);
  if (!std::isfinite(left)) return -1;
  return static_cast<int64_t>(std::ceil(left));
}

bool ExperimentRun::MeetsWithWhatIsThere(int64_t stoppedAt) {
  const std::vector<int>& variables = ObservedVariables();
  if (variables.empty()) return false;
  int64_t level = _estimate.ReachedLevel(variables);
  if (stoppedAt > 0) level = std::min(level, stoppedAt);
  bool allMet = false;
  double worst = 0.0;
  std::vector<VariableEstimate> estimates = EstimatesAt(level, allMet, worst, _worstVariable);
  int64_t n = std::numeric_limits<int64_t>::max();
  for (const VariableEstimate& e : estimates) n = std::min(n, _estimate.PooledCount(e.variable, level));
  _observations = n;
  _worstRatio = worst;
  if (!allMet || n < _settings.minObs) return false;
  _final = estimates;
  _state = Done;
  _reason = "met by the stored observations";
  _stopLevel = level;
  return true;
}

void ExperimentRun::RecordStoredChecks(int64_t upTo) {
  const std::vector<int>& variables = ObservedVariables();
  if (variables.empty()) return;
  int64_t reached = _estimate.ReachedLevel(variables);
  if (upTo > 0) reached = std::min(reached, upTo);
  _history.clear();
  int64_t last = 0;
  for (int64_t level = 2; last < reached; level = NextLevel(level)) {
    last = std::min(level, reached);
    bool allMet = false;
    double worst = 0.0;
    int worstVariable = -1;
    std::vector<VariableEstimate> estimates = EstimatesAt(last, allMet, worst, worstVariable);
    _history.push_back({PooledAt(last), estimates});
  }
}
