#ifndef TAVRIN_REWARDS_PVMODEL_H
#define TAVRIN_REWARDS_PVMODEL_H

#include <iosfwd>
#include <vector>

#include "framework/BaseActionClass.h"
#include "framework/BaseModelClass.h"
#include "framework/List.h"
#include "rewards/PerformanceVariableNode.h"

// PVModel: the reward model. It wraps the measured model, owns the reward variables,
// computes once which actions can change which variables, and drives the variables on
// every firing. Generated code derives one reward model per user model; the simulator sees
// only this class on the reward side.
class PVModel : public BaseModelClass {
 public:
  PVModel();
  ~PVModel() override;   // Destruct()
  PVModel(const PVModel&) = delete;
  PVModel& operator=(const PVModel&) = delete;

  // The measured model's, passed through.
  void listModels(const char* name, List<BaseModelClass>* models) override;
  void CurrentState(void* at) override;
  void listActions(List<BaseActionClass>* actions) override;
  void listGroups(List<BaseGroupClass>* groups) override;
  void SetState(void* at) override;
  int StateSize() override;
  bool CompareState(void* a, void* b) override;
  void listActions(const char* name, List<BaseActionClass>* actions) override;
  void listSVs(const char* modelName, const char* svName,
               List<BaseStateVariableClass>* svContainer,
               List<BaseModelClass>* modelContainer) override;
  void printState(std::ostream* out) override;
  using BaseModelClass::printState;

  // A new node of variable pvindex observed at time point timeindex; null for an index
  // that names no variable.
  virtual PerformanceVariableNode* createPVNode(int pvindex, int timeindex) = 0;

  // Set-up, called by the generated constructor once TheModel exists.
  void CreatePVList(int numPVs, bool expandtimearrays);
  void Initialize();
  void MakeAffectedLists();
  void MakeImpulseAffectedLists();
  void CreateAffectedLists();
  void CreatePVStateIndex();

  // The variables of the run, in the order given; a null array takes them all in order.
  void ConsiderOnly(int* NodeIndices, int size);

  // Run time.
  void Accumulate(double new_time);
  void EndAccumulate(double finish_time);
  BaseActionClass* FireAction(BaseActionClass* action, double FiringTime);
  void PVReset();
  void SteadyState();

  // State-by-state evaluation.
  void FireAction(void* state, BaseActionClass* action);
  void AgeAction(char* state, BaseActionClass* action);
  void PutPVState(void* state);
  void GetPVState(void* state);

  // One line per item: version, count, then name, reward type and time points per node.
  void WritePVTypeFile(const char* filename);

  void Destruct();

  PerformanceVariableNode** getPVList() const { return PerformanceVariableList; }
  int getNumPVs() const { return Number_Of_Performance_Variables; }

  PerformanceVariableNode** PerformanceVariableList;   // owned, and so are the nodes
  int Number_Of_Performance_Variables;
  int PVListCapacity;                                  // slots of PerformanceVariableList
  int Trace;
  BaseModelClass* TheModel;                            // owned: the measured model
  BaseActionClass* LastAction;                         // not owned: the action fired last
  BaseActionClass** PVListOfActions;                   // not owned: the measured model's
  double Simulation_Stop_Time;                         // the latest Stop of any node
  double AccumulateStartTime;
  double AccumulateStopTime;
  BaseActionClass** AffectingActions;   // owned array: actions that affect some variable
  FastSet** ListOfAffectedLists;        // owned array: their AffectedNodes sets
  int NumAffectingActions;
  int NumActionsWithImpulseAffects;
  int TotalNumAffectingActions;
  int PVStateIndexLength;
  int ModelStateSize;
  int PVModelStateSize;
  int AdditionalStateSize;
  int StateMode;
  int* PVStateIndex;
  BaseActionClass ZeroImpulseAction;   // stands for "no action fired yet": affects nothing
  BaseActionClass StateLastAction;
  List<PerformanceVariableNode> RelevantNodes;   // not owned: the nodes of the run

 private:
  // What one firing touches, listed by action identifier when the run's nodes are chosen,
  // so that a firing visits only the workers it can change: RateEntries are the rate
  // workers a member of the fired group changes, ImpulseEntries the impulse workers an
  // action earns. Entries of identifier i run from Start[i] to Start[i + 1]; identifiers
  // made later (past the end) touch nothing.
  struct RateEntry {
    PerformanceVariableNode* node;       // not owned
    PerformanceVariableWorker* worker;   // not owned: one of node's workers
  };
  struct ImpulseEntry {
    PerformanceVariableNode* node;   // not owned
    ImpulseNodeClass* worker;        // not owned: one of node's impulse workers
  };
  void ListFiringEffects();
  void ListRateEntries(BaseActionClass* leaf);
  void ListImpulseEntries(BaseActionClass* action);
  std::vector<int> RateStart;
  std::vector<RateEntry> RateEntries;
  std::vector<int> ImpulseStart;
  std::vector<ImpulseEntry> ImpulseEntries;

  void AppendNode(PerformanceVariableNode* node);
  void ReserveNodes(int needed);
  void AddRateDependency(PerformanceVariableNode* node, int p, BaseActionClass* action,
                         BaseModelClass* submodel);
  void CheckImpulseNames(PerformanceVariableNode* node);
  // A name the measured model lacks: reported naming the variable, then exit status 1.
  [[noreturn]] static void SetUpError(PerformanceVariableNode* node, const char* what,
                                      const char* name, const char* model, const char* kind,
                                      const char* missing);
  // Lists, in the instance's earning action, the impulse workers that instance holds
  // (workers: their indices, found once per impulse so that N instances cost O(N)).
  void AddImpulseDependency(PerformanceVariableNode* node, int p, int impulse,
                            BaseModelClass* instance, const std::vector<int>& workers);
  void FinishImpulseData(BaseActionClass* action, List<BaseActionClass>* finished);
  void CreateTotalPVAffectsList(BaseActionClass* action);
  void ReleaseActionData(BaseActionClass* action);
};

#endif
