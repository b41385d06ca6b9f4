#include "Reward/MM1K_REWARD/MM1K_REWARDPV2Impulse0.h"

MM1K_REWARDPV2Impulse0::MM1K_REWARDPV2Impulse0() : MM1K(nullptr) {
  NumberOfModelDependencies = 1;
  TheModelPtr = new BaseModelClass**[NumberOfModelDependencies];
  TheModelPtr[0] = &MM1K;
}

MM1K_REWARDPV2Impulse0::~MM1K_REWARDPV2Impulse0() { delete[] TheModelPtr; }

double MM1K_REWARDPV2Impulse0::Impulse_Function() { return 1.0; }

ImpulseNodeClass** MM1K_REWARDPV2Impulse0::CreateImpulseWorkerList(int count) {
  ImpulseNodeClass** workers = new ImpulseNodeClass*[count];
  for (int w = 0; w < count; w++) workers[w] = new MM1K_REWARDPV2Impulse0();
  return workers;
}
