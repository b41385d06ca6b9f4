#include "Reward/MM1K_REWARD/MM1K_REWARDPV4.h"

#include "Reward/MM1K_REWARD/MM1K_REWARDPV4Worker.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

MM1K_REWARDPV4::MM1K_REWARDPV4(int timeindex) : TheMM1KSAN(nullptr) {
  TheModelPtr = &TheMM1KSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {horizon};
  Initialize("MeanNumberInSystem", TIMEAVE_INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 0,
             1, 1);
  AddVariableDependency("Queue", "MM1K");
}

MM1K_REWARDPV4::~MM1K_REWARDPV4() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void MM1K_REWARDPV4::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new MM1K_REWARDPV4Worker();
}
