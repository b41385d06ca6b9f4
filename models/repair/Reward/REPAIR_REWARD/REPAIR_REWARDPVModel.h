#ifndef REPAIR_REWARDPVMODEL_H
#define REPAIR_REWARDPVMODEL_H

#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "rewards/SteadyState.h"
#include "rewards/SteadyStateImpulse.h"

extern double transient;     // steady state: length of the initial transient
extern double batchLength;   // steady state: length of one batch

// REPAIR_REWARDPVModel: the reward model of the machine-repair model, three steady-state
// variables: Broken, the mean number of broken machines (a rate reward on every machine, one
// worker per machine); CrewUtilisation, the mean fraction of busy crews (a rate reward on
// the facility); Failures, the failures per unit of time (an impulse of every machine's
// Fail, one impulse worker per machine).
class REPAIR_REWARDPVModel : public PVModel {
 public:
  explicit REPAIR_REWARDPVModel(bool expandTimeArrays);
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

// REPAIR_REWARDPV0: variable Broken.
class REPAIR_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit REPAIR_REWARDPV0(int timeindex);
  void CreateWorkerList() override;
  BaseModelClass* TheREPAIRJoin;   // not owned: the measured model, target of TheModelPtr
};

// REPAIR_REWARDPV0Worker: 1 while its machine is not up.
class REPAIR_REWARDPV0Worker : public SteadyState {
 public:
  REPAIR_REWARDPV0Worker();
  ~REPAIR_REWARDPV0Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;
  BaseModelClass* Machine;   // not owned: the machine instance this worker reads
};

// REPAIR_REWARDPV1: variable CrewUtilisation.
class REPAIR_REWARDPV1 : public PerformanceVariableNode {
 public:
  explicit REPAIR_REWARDPV1(int timeindex);
  void CreateWorkerList() override;
  BaseModelClass* TheREPAIRJoin;   // not owned: the measured model, target of TheModelPtr
};

// REPAIR_REWARDPV1Worker: the fraction of the crews that are busy.
class REPAIR_REWARDPV1Worker : public SteadyState {
 public:
  REPAIR_REWARDPV1Worker();
  ~REPAIR_REWARDPV1Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;
  BaseModelClass* Facility;   // not owned: the facility instance this worker reads
};

// REPAIR_REWARDPV2: variable Failures.
class REPAIR_REWARDPV2 : public PerformanceVariableNode {
 public:
  explicit REPAIR_REWARDPV2(int timeindex);
  void CreateWorkerList() override;
  BaseModelClass* TheREPAIRJoin;   // not owned: the measured model, target of TheModelPtr
};

// REPAIR_REWARDPV2Impulse0: 1 per completion of Fail in one machine instance.
class REPAIR_REWARDPV2Impulse0 : public SteadyStateImpulse {
 public:
  REPAIR_REWARDPV2Impulse0();
  ~REPAIR_REWARDPV2Impulse0() override;   // frees the TheModelPtr array
  double Impulse_Function() override;
  ImpulseNodeClass** CreateImpulseWorkerList(int count) override;
  BaseModelClass* Machine;   // not owned: the machine instance that holds the earning Fail
};

#endif
