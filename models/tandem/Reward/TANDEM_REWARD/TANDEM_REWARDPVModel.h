#ifndef TANDEM_REWARDPVMODEL_H
#define TANDEM_REWARDPVMODEL_H

#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "rewards/SteadyState.h"
#include "rewards/SteadyStateImpulse.h"

extern double transient;     // steady state: length of the initial transient
extern double batchLength;   // steady state: length of one batch

// TANDEM_REWARDPVModel: the reward model of the tandem, four steady-state variables, each
// naming one station by its instance path: Throughput, the services of station 1 per unit
// of time (an impulse of Tandem.Station[0]'s Serve), and Queue1, Queue2, Queue3, the mean
// number of customers at each station (a rate reward on the station's queue).
class TANDEM_REWARDPVModel : public PVModel {
 public:
  explicit TANDEM_REWARDPVModel(bool expandTimeArrays);
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

// TANDEM_REWARDPV0: variable Throughput.
class TANDEM_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit TANDEM_REWARDPV0(int timeindex);
  void CreateWorkerList() override;
  BaseModelClass* TheTANDEMJoin;   // not owned: the measured model, target of TheModelPtr
};

// TANDEM_REWARDPV0Impulse0: 1 per completion of Serve at station 1.
class TANDEM_REWARDPV0Impulse0 : public SteadyStateImpulse {
 public:
  TANDEM_REWARDPV0Impulse0();
  ~TANDEM_REWARDPV0Impulse0() override;   // frees the TheModelPtr array
  double Impulse_Function() override;
  ImpulseNodeClass** CreateImpulseWorkerList(int count) override;
  BaseModelClass* Station;   // not owned: the station that holds the earning Serve
};

// TANDEM_REWARDQueueNode: variables Queue1 to Queue3, the queue of one station (0 to 2).
class TANDEM_REWARDQueueNode : public PerformanceVariableNode {
 public:
  TANDEM_REWARDQueueNode(int station, int timeindex);
  void CreateWorkerList() override;
  BaseModelClass* TheTANDEMJoin;   // not owned: the measured model, target of TheModelPtr
};

// TANDEM_REWARDQueueWorker: the customers at its station.
class TANDEM_REWARDQueueWorker : public SteadyState {
 public:
  TANDEM_REWARDQueueWorker();
  ~TANDEM_REWARDQueueWorker() override;   // frees the TheModelPtr array
  double Reward_Function() override;
  BaseModelClass* Station;   // not owned: the station instance this worker reads
};

#endif
