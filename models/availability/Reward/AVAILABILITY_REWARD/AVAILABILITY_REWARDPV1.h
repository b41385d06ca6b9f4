#ifndef AVAILABILITY_REWARDPV1_H
#define AVAILABILITY_REWARDPV1_H

#include "rewards/PerformanceVariableNode.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV1: variable INTERVAL_AVAILABILITY, the time the component is up
// during [0, 1.5]; one worker per instance of the component model.
class AVAILABILITY_REWARDPV1 : public PerformanceVariableNode {
 public:
  explicit AVAILABILITY_REWARDPV1(int timeindex);
  ~AVAILABILITY_REWARDPV1() override;
  void CreateWorkerList() override;

  BaseModelClass* TheAVAILABILITYSAN;   // not owned: the measured model, the target of TheModelPtr
};

#endif
