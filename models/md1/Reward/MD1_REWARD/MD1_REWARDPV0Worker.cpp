#include "Reward/MD1_REWARD/MD1_REWARDPV0Worker.h"

#include "Atomic/MD1/MD1SAN.h"

MD1_REWARDPV0Worker::MD1_REWARDPV0Worker() : MD1(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &MD1;
}

MD1_REWARDPV0Worker::~MD1_REWARDPV0Worker() { delete[] TheModelPtr; }

double MD1_REWARDPV0Worker::Reward_Function() {
  return static_cast<MD1SAN*>(MD1)->Queue->Mark();
}
