#include "Reward/MM1K_REWARD/MM1K_REWARDPV2.h"

#include "Reward/MM1K_REWARD/MM1K_REWARDPV2Impulse0.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

MM1K_REWARDPV2::MM1K_REWARDPV2(int timeindex) : TheMM1KSAN(nullptr) {
  TheModelPtr = &TheMM1KSAN;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("Throughput", STEADY_STATE, 1, startpts, stoppts, timeindex, 1, 0, 0);
  AddImpulse("Service", "MM1K", new MM1K_REWARDPV2Impulse0());
}

MM1K_REWARDPV2::~MM1K_REWARDPV2() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void MM1K_REWARDPV2::CreateWorkerList() {}
