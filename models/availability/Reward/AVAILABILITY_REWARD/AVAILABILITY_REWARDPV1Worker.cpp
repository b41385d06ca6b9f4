#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV1Worker.h"

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"

AVAILABILITY_REWARDPV1Worker::AVAILABILITY_REWARDPV1Worker() : AVAILABILITY(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &AVAILABILITY;
}

AVAILABILITY_REWARDPV1Worker::~AVAILABILITY_REWARDPV1Worker() { delete[] TheModelPtr; }

double AVAILABILITY_REWARDPV1Worker::Reward_Function() {
  return static_cast<AVAILABILITYSAN*>(AVAILABILITY)->UP->Mark();
}
