#ifndef AVAILABILITY_REWARDPV0_H
#define AVAILABILITY_REWARDPV0_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV0: variable INSTANT_AVAILABILITY, 1 while the component is up, at
// each of its time points; one worker per instance of the component model.
class AVAILABILITY_REWARDPV0 : public PerformanceVariableNode {
 public:
  explicit AVAILABILITY_REWARDPV0(int timeindex);
  ~AVAILABILITY_REWARDPV0() override;
  void CreateWorkerList() override;

  BaseModelClass* TheAVAILABILITYSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
