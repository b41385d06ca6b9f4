#include "Reward/L2_REWARD/L2_REWARDPV0Worker.h"

#include "Atomic/L2_CACHE/L2_CACHESAN.h"

L2_REWARDPV0Worker::L2_REWARDPV0Worker() : L2_CACHE(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &L2_CACHE;
}

L2_REWARDPV0Worker::~L2_REWARDPV0Worker() { delete[] TheModelPtr; }

double L2_REWARDPV0Worker::Reward_Function() {
  return static_cast<L2_CACHESAN*>(L2_CACHE)->L2_CONTENT->Mark();
}
