#ifndef TAVRIN_REWARDS_INSTANTOFTIME_H
#define TAVRIN_REWARDS_INSTANTOFTIME_H

#include "rewards/PerformanceVariableWorker.h"

// InstantOfTime: the worker of a variable observed at one time point. Each accumulation
// that starts no later than the point re-reads the reward, so the last one before the node
// completes sees the marking just after every firing at that point.
class InstantOfTime : public PerformanceVariableWorker {
 public:
  void Accumulate(double next_time, double last_event_time) override;
  void CurrentReward() override;
};

#endif
