#ifndef TAVRIN_MANAGER_EXPERIMENTESTIMATE_H
#define TAVRIN_MANAGER_EXPERIMENTESTIMATE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The estimate of one variable of an experiment, pooled over its clients.
struct VariableEstimate {
  enum Status { Met, NotMet, Correlated, Insufficient, Constant };

  int variable = 0;
  int64_t observations = 0;   // pooled: replications, or batch means after merging
  int clients = 0;            // clients that contributed
  double mean = 0.0;
  double halfWidth = 0.0;     // infinite when there are too few observations
  int64_t truncated = 0;      // steady state: batches dropped as initial bias, all clients
  int mergeFactor = 1;        // steady state: batches merged into one
  Status status = Insufficient;

  double RelativeHalfWidth() const;
  static const char* StatusName(Status status);   // "met", "not met", ...
};

// ExperimentEstimate: the observations of every client of one experiment and their pooled
// estimates. Every client contributes its first L observations (all it has, if fewer), so
// an estimate depends only on the clients' seeds and the level L at which it is taken, not
// on the order in which reports happened to arrive: the same campaign gives the same
// results.
//
// Terminating runs: each observation is an independent replication; the estimate is the
// Student-t interval over all of them. Steady-state runs: each observation is a batch mean;
// per client, MSER-5 drops what initial bias remains, then adjacent batches are merged by
// factors of 2 until von Neumann's test accepts the batch means as uncorrelated, and the
// clients' merged batch means are pooled.
class ExperimentEstimate {
 public:
  static const int MinimumPooledBatches = 10;   // fewer: "insufficient"
  static const int MaximumMergeFactor = 1 << 16;

  ExperimentEstimate(bool steadyState, double confidence, double independenceAlpha);

  // Every client is known from its start, so one that has sent nothing yet holds the
  // level back instead of being left out.
  void AddClient(int client);
  void AddObservations(int client, int variable, const double* values, int count);
  // Clients whose series may grow no more (ended, or finished in an earlier session).
  void Freeze(int client) { _frozen[client] = true; }
  void FreezeAll() {
    for (auto& f : _frozen) f.second = true;
  }
  bool Frozen(int client) const;

  int64_t Count(int client, int variable) const;
  // The largest level every growing client has reached (its smallest count), or the longest
  // series when none grows.
  // laggard, when given, is set to the growing client that holds the level (or -1).
  int64_t ReachedLevel(const std::vector<int>& variables, int* laggard = nullptr) const;
  // The client's smallest count over the variables.
  int64_t ShortestSeries(int client, const std::vector<int>& variables) const;
  // Observations pooled at level L for the variable.
  int64_t PooledCount(int variable, int64_t level) const;

  VariableEstimate Estimate(int variable, int64_t level) const;
  std::vector<int> Variables() const;   // every variable seen, in increasing order
  std::vector<int> Clients() const;

 private:
  std::vector<double> Prefix(int client, int variable, int64_t level) const;
  VariableEstimate Terminating(int variable, int64_t level) const;
  VariableEstimate SteadyState(int variable, int64_t level) const;

  bool _steadyState;
  double _confidence;
  double _alpha;
  std::map<int, std::map<int, std::vector<double>>> _series;   // client -> variable -> values
  std::map<int, bool> _frozen;
};

#endif
