#include "Reward/MD1_REWARD/MD1_REWARDPV1.h"

#include "Reward/MD1_REWARD/MD1_REWARDPV1Worker.h"
#include "Reward/MD1_REWARD/MD1_REWARDPVModel.h"

MD1_REWARDPV1::MD1_REWARDPV1(int timeindex) : TheMD1SAN(nullptr) {
  TheModelPtr = &TheMD1SAN;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("Utilization", STEADY_STATE, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("Queue", "MD1");
}

MD1_REWARDPV1::~MD1_REWARDPV1() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;
    delete[] WorkerList[w]->Name;
    WorkerList[w]->Name = nullptr;
    delete WorkerList[w];
    WorkerList[w] = nullptr;
  }
}

void MD1_REWARDPV1::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new MD1_REWARDPV1Worker();
}
