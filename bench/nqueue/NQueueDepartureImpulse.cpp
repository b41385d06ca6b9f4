#include "nqueue/NQueueDepartureImpulse.h"

NQueueDepartureImpulse::NQueueDepartureImpulse() : NQueue(nullptr) {
  NumberOfModelDependencies = 1;
  TheModelPtr = new BaseModelClass**[NumberOfModelDependencies];
  TheModelPtr[0] = &NQueue;
}

NQueueDepartureImpulse::~NQueueDepartureImpulse() { delete[] TheModelPtr; }

double NQueueDepartureImpulse::Impulse_Function() { return 1.0; }

ImpulseNodeClass** NQueueDepartureImpulse::CreateImpulseWorkerList(int count) {
  ImpulseNodeClass** workers = new ImpulseNodeClass*[count];
  for (int w = 0; w < count; w++) workers[w] = new NQueueDepartureImpulse();
  return workers;
}
