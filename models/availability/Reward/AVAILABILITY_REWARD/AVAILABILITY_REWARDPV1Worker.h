#ifndef AVAILABILITY_REWARDPV1WORKER_H
#define AVAILABILITY_REWARDPV1WORKER_H

#include "rewards/IntervalOfTime.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV1Worker: the reward of variable INTERVAL_AVAILABILITY on one
// component model instance, 1 while its place UP is marked, integrated over the window.
class AVAILABILITY_REWARDPV1Worker : public IntervalOfTime {
 public:
  AVAILABILITY_REWARDPV1Worker();
  ~AVAILABILITY_REWARDPV1Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the component model instance this worker reads. Held as the framework's
  // model type because the node stores the instance through TheModelPtr.
  BaseModelClass* AVAILABILITY;
};

#endif
