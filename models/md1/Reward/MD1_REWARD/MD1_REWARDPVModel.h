#ifndef MD1_REWARDPVMODEL_H
#define MD1_REWARDPVMODEL_H

#include "rewards/PVModel.h"

// The global variables that place the windows of the reward variables, given their values
// by the study.
extern double transient;     // length of the initial transient
extern double batchLength;   // length of one batch

// MD1_REWARDPVModel: the reward model of the M/D/1 queue, with the steady-state variables
// NumberInSystem and Utilization.
class MD1_REWARDPVModel : public PVModel {
 public:
  explicit MD1_REWARDPVModel(bool expandTimeArrays);
  ~MD1_REWARDPVModel() override;
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
