#ifndef MM1K_REWARDPV5_H
#define MM1K_REWARDPV5_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV5: variable Departures, the number of service completions in [0, horizon] of
// each batch. It has no rate reward, so no workers: one impulse, earned by each completion of
// Service.
class MM1K_REWARDPV5 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV5(int timeindex);
  ~MM1K_REWARDPV5() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
