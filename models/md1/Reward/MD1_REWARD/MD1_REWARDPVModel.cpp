#include "Reward/MD1_REWARD/MD1_REWARDPVModel.h"

#include "Atomic/MD1/MD1SAN.h"
#include "Reward/MD1_REWARD/MD1_REWARDPV0.h"
#include "Reward/MD1_REWARD/MD1_REWARDPV1.h"

MD1_REWARDPVModel::MD1_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new MD1SAN();
  DefineName("MD1_REWARDPVModel");
  CreatePVList(2, expandTimeArrays);
  Initialize();
}

MD1_REWARDPVModel::~MD1_REWARDPVModel() {}

PerformanceVariableNode* MD1_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new MD1_REWARDPV0(timeindex);
    case 1:
      return new MD1_REWARDPV1(timeindex);
    default:
      return nullptr;
  }
}
