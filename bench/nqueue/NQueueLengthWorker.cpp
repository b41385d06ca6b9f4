#include "nqueue/NQueueLengthWorker.h"

#include "nqueue/NQueueSAN.h"

NQueueLengthWorker::NQueueLengthWorker() : NQueue(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &NQueue;
}

NQueueLengthWorker::~NQueueLengthWorker() { delete[] TheModelPtr; }

double NQueueLengthWorker::Reward_Function() {
  return static_cast<NQueueSAN*>(NQueue)->Queues[0]->Mark();
}
