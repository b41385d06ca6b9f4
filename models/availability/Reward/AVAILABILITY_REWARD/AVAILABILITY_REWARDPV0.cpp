#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV0.h"

#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV0Worker.h"

AVAILABILITY_REWARDPV0::AVAILABILITY_REWARDPV0(int timeindex) : TheAVAILABILITYSAN(nullptr) {
  TheModelPtr = &TheAVAILABILITYSAN;
  double startpts[3] = {0.1, 0.5, 2.0};
  double stoppts[3] = {0.1, 0.5, 2.0};
  Initialize("INSTANT_AVAILABILITY", INSTANT_OF_TIME, 3, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("UP", "AVAILABILITY");
}

AVAILABILITY_REWARDPV0::~AVAILABILITY_REWARDPV0() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void AVAILABILITY_REWARDPV0::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new AVAILABILITY_REWARDPV0Worker();
}
