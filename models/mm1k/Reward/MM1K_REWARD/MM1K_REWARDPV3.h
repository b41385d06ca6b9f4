#ifndef MM1K_REWARDPV3_H
#define MM1K_REWARDPV3_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV3: variable Blocking, the long-run fraction of time the system is full, which
// with Poisson arrivals is the probability that an arrival is turned away; one observation per
// batch; one worker per instance of the queue model.
class MM1K_REWARDPV3 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV3(int timeindex);
  ~MM1K_REWARDPV3() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
