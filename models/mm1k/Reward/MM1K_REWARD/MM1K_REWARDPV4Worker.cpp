#include "Reward/MM1K_REWARD/MM1K_REWARDPV4Worker.h"

#include "Atomic/MM1K/MM1KSAN.h"

MM1K_REWARDPV4Worker::MM1K_REWARDPV4Worker() : MM1K(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &MM1K;
}

MM1K_REWARDPV4Worker::~MM1K_REWARDPV4Worker() { delete[] TheModelPtr; }

double MM1K_REWARDPV4Worker::Reward_Function() {
  return static_cast<MM1KSAN*>(MM1K)->Queue->Mark();
}
