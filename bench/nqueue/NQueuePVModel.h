#ifndef NQUEUEPVMODEL_H
#define NQUEUEPVMODEL_H

#include "rewards/PVModel.h"

extern double horizon;   // the window of both variables, [0, horizon]

// NQueuePVModel: the reward model of the N-queue benchmark: QueueLength0 and Throughput0,
// both about the first queue only, so a firing in any other queue changes neither.
class NQueuePVModel : public PVModel {
 public:
  explicit NQueuePVModel(bool expandTimeArrays);
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
