#ifndef MM1K_REWARDPV1_H
#define MM1K_REWARDPV1_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV1: variable Utilization, the long-run fraction of time the server is busy, one
// observation per batch; one worker per instance of the queue model.
class MM1K_REWARDPV1 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV1(int timeindex);
  ~MM1K_REWARDPV1() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
