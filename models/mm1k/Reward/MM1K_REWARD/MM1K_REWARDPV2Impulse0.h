#ifndef MM1K_REWARDPV2IMPULSE0_H
#define MM1K_REWARDPV2IMPULSE0_H

#include "rewards/SteadyStateImpulse.h"

class BaseModelClass;

// MM1K_REWARDPV2Impulse0: the impulse of variable Throughput, 1 per completion of
// Service in one queue model instance. The node owns the prototype, which makes the
// workers.
class MM1K_REWARDPV2Impulse0 : public SteadyStateImpulse {
 public:
  MM1K_REWARDPV2Impulse0();
  ~MM1K_REWARDPV2Impulse0() override;   // frees the TheModelPtr array
  double Impulse_Function() override;
  ImpulseNodeClass** CreateImpulseWorkerList(int count) override;

  // Not owned: the queue model instance that holds the earning Service activity.
  BaseModelClass* MM1K;
};

#endif
