#ifndef MD1_REWARDPV0WORKER_H
#define MD1_REWARDPV0WORKER_H

#include "rewards/SteadyState.h"

class BaseModelClass;

// MD1_REWARDPV0Worker: the reward of variable NumberInSystem on one queue model instance,
// the number of customers in its place Queue.
class MD1_REWARDPV0Worker : public SteadyState {
 public:
  MD1_REWARDPV0Worker();
  ~MD1_REWARDPV0Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the queue model instance this worker reads. Held as the framework's model
  // type because the node stores the instance through TheModelPtr.
  BaseModelClass* MD1;
};

#endif
