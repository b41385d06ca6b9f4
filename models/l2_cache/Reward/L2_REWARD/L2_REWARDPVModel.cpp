#include "Reward/L2_REWARD/L2_REWARDPVModel.h"

#include "Atomic/L2_CACHE/L2_CACHESAN.h"
#include "Reward/L2_REWARD/L2_REWARDPV0.h"

L2_REWARDPVModel::L2_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new L2_CACHESAN();
  DefineName("L2_REWARDPVModel");
  CreatePVList(1, expandTimeArrays);
  Initialize();
}

L2_REWARDPVModel::~L2_REWARDPVModel() {}

PerformanceVariableNode* L2_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new L2_REWARDPV0(timeindex);
    default:
      return nullptr;
  }
}
