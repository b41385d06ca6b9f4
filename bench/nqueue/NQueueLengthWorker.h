#ifndef NQUEUELENGTHWORKER_H
#define NQUEUELENGTHWORKER_H

#include "rewards/TimeAveragedIntervalOfTime.h"

class BaseModelClass;

// NQueueLengthWorker: the reward of variable QueueLength0, the number of customers in
// the first queue.
class NQueueLengthWorker : public TimeAveragedIntervalOfTime {
 public:
  NQueueLengthWorker();
  ~NQueueLengthWorker() override;   // frees the TheModelPtr array
  double Reward_Function() override;

  BaseModelClass* NQueue;   // not owned: the model instance this worker reads
};

#endif
