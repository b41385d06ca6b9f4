#ifndef TAVRIN_REWARDS_PERFORMANCEVARIABLENODE_H
#define TAVRIN_REWARDS_PERFORMANCEVARIABLENODE_H

#include <unordered_map>
#include <vector>

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
  void GetNumberOfImpulseWorkers();
  void CreateModelGroupList();
  void FixWorkerList();
  void AddPVWorkersToAction(BaseActionClass* action, BaseModelClass* model);
  void CreateImpulseModelGroupList();
  void CreateImpulseWorkerLists();
  void FixImpulseWorkerLists();

  // Run time.
  void Accumulate(double new_time, double last_event_time, BaseActionClass* last_action);
  void CommonAccumulate(double next_time, double last_event_time, BaseActionClass* last_action);
  void UpdateAccumulate(double new_time);
  void TotalAccumulation();
  void EndAccumulate(double finish_time, double last_event_time, BaseActionClass* last_action);
  void CurrentReward(BaseActionClass* action);
  bool ImpulseAffectedBy(BaseActionClass* action);
  void UpdateDependencies();

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
