#ifndef TAVRIN_MANAGER_EXPERIMENTRUN_H
#define TAVRIN_MANAGER_EXPERIMENTRUN_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ExperimentEstimate.h"
#include "SequentialStoppingRule.h"
#include "StudyDescription.h"

// ExperimentRun: one experiment of a campaign as the manager runs it: its observations
// pooled over its clients, the stopping rule checked at growing levels, and, once it ends,
// each variable's final estimate and status. It starts no process; the campaign does.
class ExperimentRun {
 public:
  enum State { Pending, Running, Done, Failed };

  // A check: the pooled observations and every variable's estimate at that moment.
  struct Check {
    int64_t observations;
    std::vector<VariableEstimate> estimates;
  };

  struct Settings {
    bool steadyState = false;
    double precision = 0.05;
    double confidence = 0.95;
    double absTol = 0.0;
    int64_t minObs = 30;
    int64_t maxObs = 0;
    double lookAhead = 0.1;
    double independenceAlpha = 0.05;
  };

  ExperimentRun(int number, std::string name,
                std::vector<std::pair<std::string, std::string>> globals,
                const Settings& settings, const StudyDescription* study);

  void AddClient(int client) { _estimate.AddClient(client); }
  void AddObservations(int client, int variable, const double* values, int count);
  void FreezeClient(int client) { _estimate.Freeze(client); }

  // Checks the stopping rule when every growing client has reached the next level;
  // returns true when the experiment has just met its precision or its observation limit.
  bool CheckStop();
  // The same after a record of client: the work is constant while that record cannot have
  // moved the level (another growing client still holds it back), so a stream of records
  // costs the same per record however many clients and observations there are. Also ends
  // an experiment that has received twice its observation limit while a lagging client (a
  // replacement started late, a client starved of processor time) holds the level back.
  bool CheckStopAfter(int client);
  // Ends the experiment with its estimates from everything received (time limit, lost
  // clients, interruption), or as failed.
  // upTo, when given, is the level a finished session stopped at (for a resume).
  void Finish(const std::string& reason, int64_t upTo = 0);
  void Fail(const std::string& reason);
  // For a resumed campaign: ends the experiment at once when the observations already
  // stored meet the target.
  // With a level (the one a finished session stopped at), the check is made there, so
  // reports that arrived after that stop do not change a finished experiment's figures.
  bool MeetsWithWhatIsThere(int64_t level = 0);
  // For an experiment a resume does not rerun: the checks its stored observations pass
  // through, at the levels a run makes them, so its plots show how the estimate settled.
  void RecordStoredChecks(int64_t upTo = 0);
  // The level at which the stopping rule or the observation limit ended the experiment
  // (0 when something else ended it, or it has not ended).
  int64_t StopLevel() const { return _stopLevel; }

  int Number() const { return _number; }
  const std::string& Name() const { return _name; }
  const std::vector<std::pair<std::string, std::string>>& Globals() const { return _globals; }
  State GetState() const { return _state; }
  void SetRunning() { _state = Running; }
  const std::string& Reason() const { return _reason; }
  const std::vector<VariableEstimate>& Final() const { return _final; }
  const std::vector<Check>& History() const { return _history; }
  std::string VariableName(int variable) const;
  // Variables of the other run kind (known from the study) are left out; so, without a
  // study, are variables that have only shown zeros, which are reported apart.
  const std::vector<int>& ObservedVariables() const;
  std::vector<int> AllZeroVariables() const;

  // For the progress display: pooled observations, and the least precise variable's
  // half-width over its target (infinite before a first interval).
  int64_t Observations() const { return _observations; }
  double WorstRatio() const { return _worstRatio; }
  // The variable that holds the experiment back most ("" before a first check).
  std::string WorstVariableName() const { return _worstVariable < 0 ? "" : VariableName(_worstVariable); }
  int64_t ObservationsLeft() const;

  int nextClientNumber = 0;
  int replacementsUsed = 0;
  int targetClients = 1;
  double startTime = 0.0;

 private:
  // worst: the least precise variable's half-width over its target; worstVariable: which.
  std::vector<VariableEstimate> EstimatesAt(int64_t level, bool& allMet, double& worst,
                                            int& worstVariable) const;
  double Target(const VariableEstimate& e) const;
  int64_t PooledAt(int64_t level) const;   // the fewest pooled over the observed variables
  // Ends the experiment at the observation limit with every client frozen, at the first
  // level that pools the limit.
  void StopAtLimitWithLaggard();

  int _number;
  std::string _name;
  std::vector<std::pair<std::string, std::string>> _globals;
  Settings _settings;
  const StudyDescription* _study;   // not owned; may be null
  ExperimentEstimate _estimate;
  SequentialStoppingRule _rule;
  std::map<int, bool> _nonZero;      // variable -> a non-zero value was seen
  mutable std::vector<int> _observed;   // ObservedVariables(), kept until _nonZero changes
  mutable bool _observedStale = true;
  std::map<int, int64_t> _received;  // variable -> observations received from all clients
  int _laggard = -1;                 // the growing client that held the level at the last check
  State _state = Pending;
  std::string _reason;
  int64_t _nextLevel = 2;
  int64_t _stopLevel = 0;
  int64_t _observations = 0;
  double _worstRatio;
  int _worstVariable = -1;
  std::vector<VariableEstimate> _final;
  std::vector<Check> _history;
};

#endif
