#ifndef AVAILABILITY_REWARDPVMODEL_H
#define AVAILABILITY_REWARDPVMODEL_H

#include "rewards/PVModel.h"

// AVAILABILITY_REWARDPVModel: the reward model of the component model: its availability
// at several instants, and the time it is up during a window and the fraction of it.
class AVAILABILITY_REWARDPVModel : public PVModel {
 public:
  explicit AVAILABILITY_REWARDPVModel(bool expandTimeArrays);
  ~AVAILABILITY_REWARDPVModel() override;
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
