#ifndef MD1_REWARDPV0_H
#define MD1_REWARDPV0_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MD1_REWARDPV0: variable NumberInSystem, the long-run mean number of customers in the system,
// one observation per batch; one worker per instance of the queue model.
class MD1_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit MD1_REWARDPV0(int timeindex);
  ~MD1_REWARDPV0() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMD1SAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
