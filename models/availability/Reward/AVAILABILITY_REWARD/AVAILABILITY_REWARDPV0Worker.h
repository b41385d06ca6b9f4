#ifndef AVAILABILITY_REWARDPV0WORKER_H
#define AVAILABILITY_REWARDPV0WORKER_H

#include "rewards/InstantOfTime.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV0Worker: the reward of variable INSTANT_AVAILABILITY on one
// component model instance, the marking of its place UP.
class AVAILABILITY_REWARDPV0Worker : public InstantOfTime {
 public:
  AVAILABILITY_REWARDPV0Worker();
  ~AVAILABILITY_REWARDPV0Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the component model instance this worker reads. Held as the framework's
  // model type because the node stores the instance through TheModelPtr.
  BaseModelClass* AVAILABILITY;
};

#endif
