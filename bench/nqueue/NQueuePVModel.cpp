#include "nqueue/NQueuePVModel.h"

#include "nqueue/NQueueLengthPV.h"
#include "nqueue/NQueueSAN.h"
#include "nqueue/NQueueThroughputPV.h"

NQueuePVModel::NQueuePVModel(bool expandTimeArrays) {
  TheModel = new NQueueSAN();
  DefineName("NQueuePVModel");
  CreatePVList(2, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* NQueuePVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new NQueueLengthPV(timeindex);
    case 1:
      return new NQueueThroughputPV(timeindex);
    default:
      return nullptr;
  }
}
