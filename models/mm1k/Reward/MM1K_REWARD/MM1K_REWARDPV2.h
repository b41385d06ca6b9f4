#ifndef MM1K_REWARDPV2_H
#define MM1K_REWARDPV2_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV2: variable Throughput, the long-run number of service completions per unit of
// time, one observation per batch. It has no rate reward, so no workers: one impulse, earned by
// each completion of Service.
class MM1K_REWARDPV2 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV2(int timeindex);
  ~MM1K_REWARDPV2() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
