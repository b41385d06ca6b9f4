#ifndef L2_REWARDPVMODEL_H
#define L2_REWARDPVMODEL_H

#include "rewards/PVModel.h"

// L2_REWARDPVModel: the reward model of the cache model, with its one variable L2_CONTENT.
class L2_REWARDPVModel : public PVModel {
 public:
  explicit L2_REWARDPVModel(bool expandTimeArrays);
  ~L2_REWARDPVModel() override;
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
