#ifndef TAVRIN_FRAMEWORK_BASEACTIONCLASS_H
#define TAVRIN_FRAMEWORK_BASEACTIONCLASS_H

#include <iosfwd>
#include <string>

#include "framework/Distribution.h"
#include "framework/FastSet.h"
#include "framework/List.h"

class ActionAffectsElement;
class BaseModelClass;
class BaseStateVariableClass;
class PAddress;

// BaseActionClass: anything that can fire and change the model state. It carries what the
// engine and the reward model need about every action: a dense identifier, its timing
// kind, the leaf state variables it reads and writes, its event handle and the reward
// bookkeeping the reward model attaches to it.
class BaseActionClass {
 public:
  BaseActionClass();
  virtual ~BaseActionClass();
  BaseActionClass(const BaseActionClass&) = delete;
  BaseActionClass& operator=(const BaseActionClass&) = delete;

  // The declared counts of affected and enabling variables are accepted and not used:
  // the lists grow as the arcs are added.
  void BaseActionClassInitialize(const char* name, int groupId, Distribution distribution,
                                 ExecutionPolicyType policy, int numAffected, int numEnabling,
                                 bool reactivation);
  void defineName(const char* name);

  virtual bool isSync();
  virtual bool Enabled();
  virtual double Weight();
  virtual double Rate();
  virtual bool ReactivationPredicate();
  virtual bool ReactivationFunction();
  virtual double SampleDistribution();
  virtual double* ReturnDistributionParameters();
  virtual void SetFired(int fired);
  virtual BaseActionClass* Fire();
  virtual int Rank();
  virtual bool EnablingChange();
  virtual bool IsAMember(BaseActionClass* action);
  virtual double Probability(BaseActionClass* action);
  virtual void printAffectedState(std::ostream* out);
  virtual void printEnablingState(std::ostream* out);
  virtual BaseActionClass* getPrintedAction();   // the action whose state a trace shows
  virtual double ErlangParamM();
  // Weight(), which ends the run (naming this action and, when given, the group choosing
  // among its members) unless it is finite and not negative.
  double CheckedWeight(const char* chooser);
  // For messages: " in PATH", the instance path of the action's model when that model is a
  // part of a composed model (one copy of many, say); empty otherwise.
  std::string InstanceNote() const;

  int getID() const { return ID; }
  static int getMaxID() { return MaxID; }
  int getGroupId() const { return GroupID; }
  void setGroupID(int groupId) { GroupID = groupId; }

  // A structured variable is expanded into its leaves through the variable itself.
  void addEnablingSV(BaseStateVariableClass* sv);
  void removeEnablingSV(BaseStateVariableClass* sv);
  void replaceEnablingSV(BaseStateVariableClass* oldSV, BaseStateVariableClass* newSV);
  int getNumEnablingSVs() const { return EnablingStateVariables.getNumItems(); }
  BaseStateVariableClass* getEnablingSV(int i) const { return EnablingStateVariables.getItem(i); }

  void addAffectedSV(BaseStateVariableClass* sv);
  void removeAffectedSV(BaseStateVariableClass* sv);
  void replaceAffectedSV(BaseStateVariableClass* oldSV, BaseStateVariableClass* newSV);
  int getNumAffectedSVs() const { return AffectedStateVariables.getNumItems(); }
  BaseStateVariableClass* getAffectedSV(int i) const { return AffectedStateVariables.getItem(i); }

  void PrintInfo();

  // Reward data, one entry per performance variable. The Deallocate operations free what
  // the Allocate operations made (the top-level arrays and their sets); the per-variable
  // arrays the reward model hangs into AffectedImpulseWorkers and NumAffectedImpulseWorkers
  // remain the reward model's to free. The destructor deallocates whatever is left.
  void AllocatePVRateDS(int numPVs);
  void AllocatePVImpulseDS(int numPVs);
  void DeallocatePVRateDS();
  void DeallocatePVImpulseDS();
  bool IsPVRateDSAllocated() const { return AffectedRateWorkers != nullptr; }
  bool IsPVImpulseDSAllocated() const { return AffectedImpulseRewards != nullptr; }

  // Multi-stage (Erlang) sampling: phase counts the stages completed so far, from 1.
  void ResetPhase() { phase = 1; }
  void Age() { phase++; }
  bool ReadyToFire() { return static_cast<double>(phase) == ErlangParamM(); }

  // Read by the step on every firing that reaches the action: kept together right after
  // the virtual-table pointer, so that they share its cache line. The rest is read while
  // the model is built and by the reward model's set-up.
  PAddress* EventPointer;          // not owned: the engine's event handle of this group
  ActionAffectsElement* Affects;   // the engine's connectivity list of this action
  int ID;
  int GroupID;
  ExecutionPolicyType ExecutionPolicy;
  Distribution DistributionType;
  short phase;
  bool Reactivation;   // while simulating: true exactly while the engine watches the group
  bool Disabled;       // set by a group on each member while it computes its selection
  bool Fired;

  char* ActionName;    // owned
  double FractionComplete;
  BaseModelClass* TheModel;        // not owned: the model the action belongs to
  FastSet AffectedNodesByImpulseReward;
  FastSet* AffectedImpulseRewards;      // owned array, one set per performance variable
  int*** AffectedImpulseWorkers;        // owned array; [p][impulse] is a worker-index array
  int** NumAffectedImpulseWorkers;      // owned array; [p][impulse] is that array's length
  FastSet* AffectedRateWorkers;         // owned array, one set per performance variable
  int TotalNumCollected;
  FastSet AffectedNodes;
  FastSet AffectedNodesByRateReward;
  List<BaseStateVariableClass> AffectedStateVariables;
  List<BaseStateVariableClass> EnablingStateVariables;

  static int MaxID;   // the number of actions constructed so far

 private:
  static void printStates(const List<BaseStateVariableClass>& variables, std::ostream* out);
  static void printNames(const List<BaseStateVariableClass>& variables);
};

#endif
