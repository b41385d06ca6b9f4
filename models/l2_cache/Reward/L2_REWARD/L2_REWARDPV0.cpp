#include "Reward/L2_REWARD/L2_REWARDPV0.h"

#include "Reward/L2_REWARD/L2_REWARDPV0Worker.h"

L2_REWARDPV0::L2_REWARDPV0(int timeindex) : TheL2_CACHESAN(nullptr) {
  TheModelPtr = &TheL2_CACHESAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {0.0};
  Initialize("L2_CONTENT", INSTANT_OF_TIME, 1, startpts, stoppts, timeindex, 0, 1, 0);
  AddModelDependency("L2_CACHE");
}

L2_REWARDPV0::~L2_REWARDPV0() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void L2_REWARDPV0::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new L2_REWARDPV0Worker();
}
