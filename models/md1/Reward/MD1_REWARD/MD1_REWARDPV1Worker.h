#ifndef MD1_REWARDPV1WORKER_H
#define MD1_REWARDPV1WORKER_H

#include "rewards/SteadyState.h"

class BaseModelClass;

// MD1_REWARDPV1Worker: the reward of variable Utilization on one queue model instance,
// 1 while the server is busy, else 0.
class MD1_REWARDPV1Worker : public SteadyState {
 public:
  MD1_REWARDPV1Worker();
  ~MD1_REWARDPV1Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the queue model instance this worker reads. Held as the framework's model
  // type because the node stores the instance through TheModelPtr.
  BaseModelClass* MD1;
};

#endif
