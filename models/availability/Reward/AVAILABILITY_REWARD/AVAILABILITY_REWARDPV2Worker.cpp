#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPV2Worker.h"

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"

AVAILABILITY_REWARDPV2Worker::AVAILABILITY_REWARDPV2Worker() : AVAILABILITY(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &AVAILABILITY;
}

AVAILABILITY_REWARDPV2Worker::~AVAILABILITY_REWARDPV2Worker() { delete[] TheModelPtr; }

double AVAILABILITY_REWARDPV2Worker::Reward_Function() {
  return static_cast<AVAILABILITYSAN*>(AVAILABILITY)->UP->Mark();
}
