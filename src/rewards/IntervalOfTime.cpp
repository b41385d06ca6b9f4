#include "rewards/IntervalOfTime.h"

void IntervalOfTime::Accumulate(double next_time, double last_event_time) {
  AccumulateOverlap(next_time, last_event_time, 1.0);
}

void IntervalOfTime::CurrentReward() {
  Reward = Reward_Function();
  RewardSqr = Reward * Reward;
}

void IntervalOfTime::AccumulateOverlap(double next_time, double last_event_time,
                                       double fraction) {
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
