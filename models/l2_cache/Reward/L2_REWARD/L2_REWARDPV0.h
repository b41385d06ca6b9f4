#ifndef L2_REWARDPV0_H
#define L2_REWARDPV0_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// L2_REWARDPV0: variable L2_CONTENT, the tokens in the cache at time 0 after every firing
// at time 0; one worker per instance of the cache model.
class L2_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit L2_REWARDPV0(int timeindex);
  ~L2_REWARDPV0() override;
  void CreateWorkerList() override;

  BaseModelClass* TheL2_CACHESAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
