#ifndef AVAILABILITY_REWARDPV2WORKER_H
#define AVAILABILITY_REWARDPV2WORKER_H

#include "rewards/TimeAveragedIntervalOfTime.h"

class BaseModelClass;

// AVAILABILITY_REWARDPV2Worker: the reward of variable TIMEAVE_AVAILABILITY on one
// component model instance, 1 while its place UP is marked, averaged over the window.
class AVAILABILITY_REWARDPV2Worker : public TimeAveragedIntervalOfTime {
 public:
  AVAILABILITY_REWARDPV2Worker();
  ~AVAILABILITY_REWARDPV2Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the component model instance this worker reads. Held as the framework's
  // model type because the node stores the instance through TheModelPtr.
  BaseModelClass* AVAILABILITY;
};

#endif
