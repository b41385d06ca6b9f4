#ifndef L2_REWARDPV0WORKER_H
#define L2_REWARDPV0WORKER_H

#include "rewards/InstantOfTime.h"

class BaseModelClass;

// L2_REWARDPV0Worker: the reward of variable L2_CONTENT on one cache model instance, the
// number of tokens in its place L2_CONTENT.
class L2_REWARDPV0Worker : public InstantOfTime {
 public:
  L2_REWARDPV0Worker();
  ~L2_REWARDPV0Worker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  // Not owned: the cache model instance this worker reads. Held as the framework's model
  // type because the node stores the instance through TheModelPtr.
  BaseModelClass* L2_CACHE;
};

#endif
