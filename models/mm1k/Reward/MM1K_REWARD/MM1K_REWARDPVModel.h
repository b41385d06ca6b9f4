#ifndef MM1K_REWARDPVMODEL_H
#define MM1K_REWARDPVMODEL_H

#include "rewards/PVModel.h"

// The global variables that place the windows of the reward variables, given their values
// by the study.
extern double horizon;       // stop time of a terminating run
extern double transient;     // steady state: length of the initial transient
extern double batchLength;   // steady state: length of one batch

// MM1K_REWARDPVModel: the reward model of the queue model. Steady-state variables:
// NumberInSystem, Utilization, Throughput and Blocking; terminating variables over
// [0, horizon]: MeanNumberInSystem and Departures.
class MM1K_REWARDPVModel : public PVModel {
 public:
  explicit MM1K_REWARDPVModel(bool expandTimeArrays);
  ~MM1K_REWARDPVModel() override;
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
