#ifndef MM1K_REWARDPV4_H
#define MM1K_REWARDPV4_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// MM1K_REWARDPV4: variable MeanNumberInSystem, the number of customers in the system averaged
// over [0, horizon] of each batch; one worker per instance of the queue model.
class MM1K_REWARDPV4 : public PerformanceVariableNode {
 public:
  explicit MM1K_REWARDPV4(int timeindex);
  ~MM1K_REWARDPV4() override;
  void CreateWorkerList() override;

  BaseModelClass* TheMM1KSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
