#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV0Worker.h"

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"

AVAILABILITY_REWARDPV0Worker::AVAILABILITY_REWARDPV0Worker() : AVAILABILITY(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &AVAILABILITY;
}

AVAILABILITY_REWARDPV0Worker::~AVAILABILITY_REWARDPV0Worker() { delete[] TheModelPtr; }

double AVAILABILITY_REWARDPV0Worker::Reward_Function() {
  return static_cast<AVAILABILITYSAN*>(AVAILABILITY)->UP->Mark();
}
