#include "nqueue/NQueueLengthPV.h"

#include "nqueue/NQueueLengthWorker.h"
#include "nqueue/NQueuePVModel.h"

NQueueLengthPV::NQueueLengthPV(int timeindex) : TheNQueueSAN(nullptr) {
  TheModelPtr = &TheNQueueSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {horizon};
  Initialize("QueueLength0", TIMEAVE_INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("Queue0", "NQueue");
}

void NQueueLengthPV::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new NQueueLengthWorker();
}
