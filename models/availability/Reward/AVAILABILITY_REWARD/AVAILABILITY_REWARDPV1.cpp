#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV1.h"

#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV1Worker.h"

AVAILABILITY_REWARDPV1::AVAILABILITY_REWARDPV1(int timeindex) : TheAVAILABILITYSAN(nullptr) {
  TheModelPtr = &TheAVAILABILITYSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {1.5};
  Initialize("INTERVAL_AVAILABILITY", INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 0, 1,
             1);
  AddVariableDependency("UP", "AVAILABILITY");
}

AVAILABILITY_REWARDPV1::~AVAILABILITY_REWARDPV1() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void AVAILABILITY_REWARDPV1::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new AVAILABILITY_REWARDPV1Worker();
}
