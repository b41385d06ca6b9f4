#include "Reward/MM1K_REWARD/MM1K_REWARDPV5.h"

#include "Reward/MM1K_REWARD/MM1K_REWARDPV5Impulse0.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

MM1K_REWARDPV5::MM1K_REWARDPV5(int timeindex) : TheMM1KSAN(nullptr) {
  TheModelPtr = &TheMM1KSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {horizon};
  Initialize("Departures", INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 1, 0, 0);
  AddImpulse("Service", "MM1K", new MM1K_REWARDPV5Impulse0());
}

MM1K_REWARDPV5::~MM1K_REWARDPV5() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void MM1K_REWARDPV5::CreateWorkerList() {}
