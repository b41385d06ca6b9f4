#ifndef MM1K_REWARDPV0_H
#define MM1K_REWARDPV0_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV0: variable NumberInSystem, the long-run mean number of customers in the system,
// one observation per batch; one worker per instance of the queue model.
class MM1K_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV0(int timeindex);
  ~MM1K_REWARDPV0() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
