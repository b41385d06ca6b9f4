#ifndef TAVRIN_REWARDS_PERFORMANCEVARIABLENODE_H
#define TAVRIN_REWARDS_PERFORMANCEVARIABLENODE_H

#include <limits>
#include <unordered_map>
#include <vector>

#include "framework/FastSet.h"
#include "framework/List.h"
#include "rewards/ActionModelPairClass.h"
#include "rewards/ImpulseNodeClass.h"
#include "rewards/ModelGroupClass.h"
#include "rewards/PerformanceVariableWorker.h"
#include "rewards/VarModelPairClass.h"

class BaseActionClass;
class BaseModelClass;

// The kind of a reward variable.
enum RewardType {
  INSTANT_OF_TIME = 0,
  INTERVAL_OF_TIME = 1,
  TIMEAVE_INTERVAL_OF_TIME = 2,
  STEADY_STATE = 3,
  UNDEFINED = 4
};

// Which kind of run a reward variable belongs to.
enum PVType { terminating = 0, steady_state = 1 };

// How far a variable's accumulation has gone in the current batch.
enum AccumulationState { acc_later = 0, acc_now = 1, acc_done = 2, acc_ignore = 3 };

// PerformanceVariableNode: one reward variable over its observation window. It owns one
// worker per combination of submodel instances its rate reward reads and the impulse
// workers of its impulse rewards, and sums their rewards into the batch observation
// (TotalReward, TotalRewardSqr). Generated code derives one node class per variable.
class PerformanceVariableNode {
 public:
  PerformanceVariableNode();
  virtual ~PerformanceVariableNode();   // deletes what it owns, workers left in WorkerList too
  PerformanceVariableNode(const PerformanceVariableNode&) = delete;
  PerformanceVariableNode& operator=(const PerformanceVariableNode&) = delete;

  virtual void CreateWorkerList() = 0;   // fills WorkerList with NumberOfWorkers new workers
  virtual void Reset();

  // Set-up, called by the generated constructor in this order.
  void Initialize(const char* name, RewardType rewardtype, int numtimes, const double* startpts,
                  const double* stoppts, int timeindex, int number_of_impulses,
                  int numModelsAffectingReward, int number_of_variable_dependencies);
  void InitializeTimeArrays(int numtimes, const double* startpts, const double* stoppts);
  void AddModelDependency(const char* modelname);
  bool IsDependentOnModel(const char* modelname) const;
  void AddVariableDependency(const char* varname, const char* modelname);
  void AddImpulse(const char* actionname, const char* modelname, ImpulseNodeClass* impulse);
  int GetImpulseNumber(const ImpulseNodeClass* impulse) const;   // -1 when not added
  void AddImpulseActionDependency(const char* actionname, const char* modelname,
                                  int impulseNumber);
  void AddImpulseModelDependency(const char* modelname, ImpulseNodeClass* impulse);

  // Wiring, called by the reward model.
  void FixReferences(BaseModelClass* model);
  int GetNumberOfWorkers();
  // The product of factor and the instance counts of the named submodels; a product beyond
  // kMaxWorkers ends the process with a message naming this variable.
  int CombinationsOf(char** names, int numNames, long long factor) const;
  static constexpr long long kMaxWorkers = std::numeric_limits<int>::max();   // the count is an int
  void GetNumberOfImpulseWorkers();
  void CreateModelGroupList();
  void FixWorkerList();
  void AddPVWorkersToAction(BaseActionClass* action, BaseModelClass* model);
  void CreateImpulseModelGroupList();
  void CreateImpulseWorkerLists();
  void FixImpulseWorkerLists();

  // Run time. A worker's rate reward is accumulated from its own Since up to the time
  // given, so a node may be left alone by every firing that cannot change its value.
  void Accumulate(double new_time, double last_event_time, BaseActionClass* last_action);
  void CommonAccumulate(double next_time, double last_event_time, BaseActionClass* last_action);
  // Before a firing at firing_time that changes the given workers' rewards: their reward
  // up to now, or the whole node's when the firing comes after the window.
  void AccumulateBeforeChange(double firing_time, FastSet& workers);
  // After a firing of last_action, which earns one of this node's impulses: Accumulate
  // without the membership test, the rate part integrated only when the node completes.
  void AccumulateImpulse(double new_time, double last_event_time, BaseActionClass* last_action);
  void IntegrateRate(double next_time);   // every worker from its Since up to next_time
  void RestartWorkers(double time);       // every worker's Since = time: a new batch

  // The same for one worker or one impulse worker, inline for the reward model's per-firing
  // loops, which list them one by one.
  void AccumulateWorkerBeforeChange(PerformanceVariableWorker* worker, double firing_time) {
    if (Accumulating == acc_done || firing_time < Start) return;
    if (firing_time > Stop) {
      IntegrateRate(firing_time);
      UpdateAccumulate(firing_time);
      return;
    }
    IntegrateWorker(worker, firing_time);
    Accumulating = acc_now;
  }
  void AccumulateImpulseWorker(ImpulseNodeClass* worker, double new_time, double last_event_time,
                               BaseActionClass* last_action) {
    if (Accumulating == acc_done || new_time < Start) return;
    if (new_time > Stop) {
      AccumulateImpulse(new_time, last_event_time, last_action);
      return;
    }
    worker->Accumulate(new_time, last_event_time);
    Accumulating = acc_now;
  }
  void UpdateAccumulate(double new_time);
  void TotalAccumulation();
  void EndAccumulate(double finish_time, double last_event_time, BaseActionClass* last_action);
  void CurrentReward(BaseActionClass* action);
  bool ImpulseAffectedBy(BaseActionClass* action);
  void UpdateDependencies();

  // The worker's reward has held one value on [Since, next_time): the worker reads it now
  // and weighs it by the part of that interval inside the window. An instant-of-time
  // worker only reads it; its value counts once, when the node completes. Since never
  // passes the window's end, so the part of the interval after it stays for the next
  // steady-state batch.
  void IntegrateWorker(PerformanceVariableWorker* worker, double next_time) {
    worker->Accumulate(next_time, worker->Since);
    if (PVRewardType != INSTANT_OF_TIME) {
      double fraction = worker->RewardFraction;
      TotalReward += fraction * worker->Reward;
      TotalRewardSqr += fraction * worker->Reward * worker->Reward;
    }
    worker->Since = next_time < Stop ? next_time : Stop;
  }

  RewardType GetRewardType() const { return PVRewardType; }
  int GetNumTimePoints() const { return NumTimes; }
  double GetStartTime(int i) const { return StartList[i]; }
  double GetStopTime(int i) const { return StopList[i]; }
  void DefineName(const char* name);   // renames every worker and impulse worker

  static int the_id;   // the next node's id

  BaseModelClass** TheModelPtr;   // the generated node's model member, set by FixReferences
  char* Name;                     // owned
  double TotalReward;
  double TotalRewardSqr;
  double Start;                   // this node's window
  double Stop;
  int NumTimes;
  double* StartList;              // owned: NumTimes time points
  double* StopList;               // owned: NumTimes time points
  double TotalImpulse;
  double TotalImpulseSqr;
  double batchSize;               // Stop - Start: how far a steady-state window slides
  PVType Type;
  RewardType PVRewardType;
  int Accumulating;               // an AccumulationState
  int id;                         // position in the reward model; indexes action reward data
  int Trace;

  BaseActionClass** ActionDependencies;   // owned array: actions that can change the value
  int NumberOfActionDependencies;

  ModelGroupClass* ModelList;             // owned: one group per worker
  int NumberOfWorkers;
  PerformanceVariableWorker** WorkerList; // owned, and so are the workers

  VarModelPairClass* VarNamesList;        // owned: the state variables the rate reward reads
  int NumberOfVarNames;
  char** ModelNamesList;                  // owned, names too: distinct dependent models
  int NumberOfModelNames;

  // Impulse part, each indexed by impulse number.
  int NumberOfImpulses;
  ImpulseNodeClass** ImpulseNodeList;           // owned, prototypes too
  ActionModelPairClass* ActionNamesList;        // owned: the earning action and its model
  char*** ImpulseModelNamesList;                // owned, names too
  int* NumberOfImpulseModelNames;               // owned
  int* NumberOfImpulseActions;                  // owned: instances of the earning model
  int* NumberOfImpulseWorkers;                  // owned
  ImpulseNodeClass*** ImpulseWorkersList;       // owned, workers too
  ModelGroupClass** ImpulseModelList;           // owned: one group per impulse worker

 private:
  // Every submodel instance of that name in the measured model.
  void ListInstances(const char* name, List<BaseModelClass>* instances) const;
  void FillImpulseModelGroups(int impulse);
  void AccumulateImpulseWorkers(double next_time, double last_event_time,
                                BaseActionClass* action);
  void RepeatForSuperposedActions(double next_time, double last_event_time,
                                  BaseActionClass* action);
  bool SuperposedActionAffects(BaseActionClass* action);
  void DeleteWorkers();
  void DeleteImpulseParts();
  void IndexWorkersByModel();

  // The workers whose group holds each submodel instance, made from ModelList on first
  // use: with one worker per instance of a replicated submodel, a scan of every worker per
  // affecting action would make the set-up quadratic in the instances.
  std::unordered_map<const BaseModelClass*, std::vector<int>> WorkersOfModel;
  bool WorkersIndexed = false;

  // Room reserved by Initialize, so that a generator error cannot write past an array.
  int MaxVarNames;
  int MaxModelNames;
  int MaxImpulses;
};

#endif
