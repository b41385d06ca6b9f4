#include "rewards/IntervalOfTime.h"

void IntervalOfTime::Accumulate(double next_time, double last_event_time) {
  AccumulateOverlap(next_time, last_event_time, 1.0);
}

void IntervalOfTime::CurrentReward() {
  Reward = Reward_Function();
  RewardSqr = Reward * Reward;
}
