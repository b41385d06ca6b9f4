#ifndef TAVRIN_REWARDS_INTERVALOFTIME_H
#define TAVRIN_REWARDS_INTERVALOFTIME_H

#include "rewards/PerformanceVariableWorker.h"

// IntervalOfTime: the worker of a variable that integrates its rate reward over the
// window [Start, Stop]. Each accumulation leaves the reward earned on the part of
// [last_event_time, next_time) that lies inside the window, the marking being constant
// there, with weight 1.
class IntervalOfTime : public PerformanceVariableWorker {
 public:
  void Accumulate(double next_time, double last_event_time) override;
  void CurrentReward() override;

 protected:
  // Reward = Reward_Function() times the overlap of [last_event_time, next_time) with the
  // window, RewardSqr its square, RewardFraction = fraction. The reward function is read
  // only when the overlap is not empty.
  void AccumulateOverlap(double next_time, double last_event_time, double fraction) {
    RewardFraction = fraction;
    double from = last_event_time > Start ? last_event_time : Start;
    double to = next_time < Stop ? next_time : Stop;
    if (to > from) {
      Reward = Reward_Function() * (to - from);
    } else {
      Reward = 0.0;
    }
    RewardSqr = Reward * Reward;
  }
};

#endif
