#ifndef MD1_REWARDPV1_H
#define MD1_REWARDPV1_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MD1_REWARDPV1: variable Utilization, the long-run fraction of time the server is busy, one
// observation per batch; one worker per instance of the queue model.
class MD1_REWARDPV1 : public PerformanceVariableNode {
 public:
  explicit MD1_REWARDPV1(int timeindex);
  ~MD1_REWARDPV1() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMD1SAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
