#ifndef MM1K_REWARDPV4WORKER_H
#define MM1K_REWARDPV4WORKER_H

#include "rewards/TimeAveragedIntervalOfTime.h"

class BaseModelClass;

// MM1K_REWARDPV4Worker: the reward of variable MeanNumberInSystem on one queue model instance,
// the number of customers in its place Queue.
class MM1K_REWARDPV4Worker : public TimeAveragedIntervalOfTime {
 public:
  MM1K_REWARDPV4Worker();
  ~MM1K_REWARDPV4Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the queue model instance this worker reads. Held as the framework's model
  // type because the node stores the instance through TheModelPtr.
  BaseModelClass* MM1K;
};

#endif
