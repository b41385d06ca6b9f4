#include "Reward/MM1K_REWARD/MM1K_REWARDPV0.h"

#include "Reward/MM1K_REWARD/MM1K_REWARDPV0Worker.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

MM1K_REWARDPV0::MM1K_REWARDPV0(int timeindex) : TheMM1KSAN(nullptr) {
  TheModelPtr = &TheMM1KSAN;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("NumberInSystem", STEADY_STATE, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("Queue", "MM1K");
}

MM1K_REWARDPV0::~MM1K_REWARDPV0() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void MM1K_REWARDPV0::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new MM1K_REWARDPV0Worker();
}
