#include "nqueue/NQueueThroughputPV.h"

#include "nqueue/NQueueDepartureImpulse.h"
#include "nqueue/NQueuePVModel.h"

NQueueThroughputPV::NQueueThroughputPV(int timeindex) : TheNQueueSAN(nullptr) {
  TheModelPtr = &TheNQueueSAN;
  double startpts[1] = {0.0};
  double stoppts[1] = {horizon};
  Initialize("Throughput0", TIMEAVE_INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 1, 0, 0);
  AddImpulse("Service0", "NQueue", new NQueueDepartureImpulse());
}

void NQueueThroughputPV::CreateWorkerList() {}
