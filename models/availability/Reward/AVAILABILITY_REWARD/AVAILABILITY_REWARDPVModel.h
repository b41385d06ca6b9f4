#ifndef AVAILABILITY_REWARDPVMODEL_H
#define AVAILABILITY_REWARDPVMODEL_H

#include "rewards/PVModel.h"

// AVAILABILITY_REWARDPVModel: the reward model of the component model: its availability
// at several instants.
class AVAILABILITY_REWARDPVModel : public PVModel {
 public:
  explicit AVAILABILITY_REWARDPVModel(bool expandTimeArrays);
  ~AVAILABILITY_REWARDPVModel() override;
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
