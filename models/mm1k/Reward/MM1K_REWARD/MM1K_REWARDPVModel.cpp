#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

#include "Atomic/MM1K/MM1KSAN.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV0.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV1.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV2.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV3.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV4.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPV5.h"

MM1K_REWARDPVModel::MM1K_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new MM1KSAN();
  DefineName("MM1K_REWARDPVModel");
  CreatePVList(6, expandTimeArrays);
  Initialize();
}

MM1K_REWARDPVModel::~MM1K_REWARDPVModel() {}

PerformanceVariableNode* MM1K_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new MM1K_REWARDPV0(timeindex);
    case 1:
      return new MM1K_REWARDPV1(timeindex);
    case 2:
      return new MM1K_REWARDPV2(timeindex);
    case 3:
      return new MM1K_REWARDPV3(timeindex);
    case 4:
      return new MM1K_REWARDPV4(timeindex);
    case 5:
      return new MM1K_REWARDPV5(timeindex);
    default:
      return nullptr;
  }
}
