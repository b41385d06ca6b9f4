#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPVModel.h"

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"
#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV0.h"
#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV1.h"
#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV2.h"

AVAILABILITY_REWARDPVModel::AVAILABILITY_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new AVAILABILITYSAN();
  DefineName("AVAILABILITY_REWARDPVModel");
  CreatePVList(3, expandTimeArrays);
  Initialize();
}

AVAILABILITY_REWARDPVModel::~AVAILABILITY_REWARDPVModel() {}

PerformanceVariableNode* AVAILABILITY_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new AVAILABILITY_REWARDPV0(timeindex);
    case 1:
      return new AVAILABILITY_REWARDPV1(timeindex);
    case 2:
      return new AVAILABILITY_REWARDPV2(timeindex);
    default:
      return nullptr;
  }
}
