#ifndef NQUEUEDEPARTUREIMPULSE_H
#define NQUEUEDEPARTUREIMPULSE_H

#include "rewards/TimeAveragedIntervalOfTimeImpulse.h"

class BaseModelClass;

// NQueueDepartureImpulse: the impulse of variable Throughput0, 1 per completion of
// Service0, per unit of time of the window.
class NQueueDepartureImpulse : public TimeAveragedIntervalOfTimeImpulse {
 public:
  NQueueDepartureImpulse();
  ~NQueueDepartureImpulse() override;   // frees the TheModelPtr array
  double Impulse_Function() override;
  ImpulseNodeClass** CreateImpulseWorkerList(int count) override;

  BaseModelClass* NQueue;   // not owned: the model instance holding Service0
};

#endif
