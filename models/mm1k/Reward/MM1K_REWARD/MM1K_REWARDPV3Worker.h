#ifndef MM1K_REWARDPV3WORKER_H
#define MM1K_REWARDPV3WORKER_H

#include "rewards/SteadyState.h"

class BaseModelClass;

// MM1K_REWARDPV3Worker: the reward of variable Blocking on one queue model instance,
// 1 while the system is full, else 0.
class MM1K_REWARDPV3Worker : public SteadyState {
 public:
  MM1K_REWARDPV3Worker();
  ~MM1K_REWARDPV3Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the queue model instance this worker reads. Held as the framework's model
  // type because the node stores the instance through TheModelPtr.
  BaseModelClass* MM1K;
};

#endif
