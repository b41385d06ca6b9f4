#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPVModel.h"

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"
#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV0.h"

AVAILABILITY_REWARDPVModel::AVAILABILITY_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new AVAILABILITYSAN();
  DefineName("AVAILABILITY_REWARDPVModel");
  CreatePVList(1, expandTimeArrays);
  Initialize();
}

AVAILABILITY_REWARDPVModel::~AVAILABILITY_REWARDPVModel() {}

PerformanceVariableNode* AVAILABILITY_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new AVAILABILITY_REWARDPV0(timeindex);
    default:
      return nullptr;
  }
}
