#ifndef TAVRIN_REWARDS_PERFORMANCEVARIABLEWORKER_H
#define TAVRIN_REWARDS_PERFORMANCEVARIABLEWORKER_H

class BaseModelClass;

// PerformanceVariableWorker: evaluates a variable's rate reward on one combination of
// submodel instances. Generated code derives one worker class per rate-reward function;
// the node owns its workers and points their model pointers at their instances.
class PerformanceVariableWorker {
 public:
  PerformanceVariableWorker();
  virtual ~PerformanceVariableWorker();   // frees Name; TheModelPtr is the generated class's
  PerformanceVariableWorker(const PerformanceVariableWorker&) = delete;
  PerformanceVariableWorker& operator=(const PerformanceVariableWorker&) = delete;

  virtual double Reward_Function() = 0;
  // Leaves the contribution of [last_event_time, next_time) in Reward, weighted by
  // RewardFraction.
  virtual void Accumulate(double next_time, double last_event_time) = 0;
  virtual void CurrentReward();   // the base only reports that it was called
  virtual void Reset();

  void DefineName(const char* name, int number);   // a copy of name; Number = number

  BaseModelClass*** TheModelPtr;   // NumModels entries, each the address of a model member
  int NumModels;
  int lastQualification;
  char* Name;          // owned
  int Trace;
  int Number;          // index among the node's workers
  int id;              // the owning node's id
  double Reward;
  double RewardSqr;
  double RewardFraction;
  double Start;        // the owning node's window
  double Stop;
  // The time up to which the node has accumulated this worker: its reward has kept one
  // value since then, because every firing that can change it is preceded by an
  // accumulation of this worker.
  double Since;
};

#endif
