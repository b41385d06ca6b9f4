#include "Reward/MD1_REWARD/MD1_REWARDPV1Worker.h"

#include "Atomic/MD1/MD1SAN.h"

MD1_REWARDPV1Worker::MD1_REWARDPV1Worker() : MD1(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &MD1;
}

MD1_REWARDPV1Worker::~MD1_REWARDPV1Worker() { delete[] TheModelPtr; }

double MD1_REWARDPV1Worker::Reward_Function() {
  return static_cast<MD1SAN*>(MD1)->Queue->Mark() > 0 ? 1.0 : 0.0;
}
