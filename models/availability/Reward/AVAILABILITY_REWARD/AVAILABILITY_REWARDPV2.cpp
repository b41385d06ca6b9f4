#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV2.h"

#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV2Worker.h"

AVAILABILITY_REWARDPV2::AVAILABILITY_REWARDPV2(int timeindex) : TheAVAILABILITYSAN(nullptr) {
  TheModelPtr = &TheAVAILABILITYSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {1.5};
  Initialize("TIMEAVE_AVAILABILITY", TIMEAVE_INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex,
             0, 1, 1);
  AddVariableDependency("UP", "AVAILABILITY");
}

AVAILABILITY_REWARDPV2::~AVAILABILITY_REWARDPV2() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void AVAILABILITY_REWARDPV2::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new AVAILABILITY_REWARDPV2Worker();
}
