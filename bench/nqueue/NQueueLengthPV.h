#ifndef NQUEUELENGTHPV_H
#define NQUEUELENGTHPV_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// NQueueLengthPV: variable QueueLength0, the number of customers in the first queue
// averaged over [0, horizon].
class NQueueLengthPV : public PerformanceVariableNode {
 public:
  explicit NQueueLengthPV(int timeindex);
  void CreateWorkerList() override;

  BaseModelClass* TheNQueueSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
