#ifndef NQUEUETHROUGHPUTPV_H
#define NQUEUETHROUGHPUTPV_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// NQueueThroughputPV: variable Throughput0, the completions of the first queue's service
// per unit of time over [0, horizon].
class NQueueThroughputPV : public PerformanceVariableNode {
 public:
  explicit NQueueThroughputPV(int timeindex);
  void CreateWorkerList() override;

  BaseModelClass* TheNQueueSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
