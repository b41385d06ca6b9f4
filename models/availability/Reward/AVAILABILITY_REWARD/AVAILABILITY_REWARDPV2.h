#ifndef AVAILABILITY_REWARDPV2_H
#define AVAILABILITY_REWARDPV2_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV2: variable TIMEAVE_AVAILABILITY, the fraction of [0, 1.5] during
// which the component is up; one worker per instance of the component model.
class AVAILABILITY_REWARDPV2 : public PerformanceVariableNode {
 public:
  explicit AVAILABILITY_REWARDPV2(int timeindex);
  ~AVAILABILITY_REWARDPV2() override;
  void CreateWorkerList() override;

  BaseModelClass* TheAVAILABILITYSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
