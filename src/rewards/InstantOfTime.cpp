#include "rewards/InstantOfTime.h"

void InstantOfTime::Accumulate(double, double last_event_time) {
  Reward = 0.0;
  RewardSqr = 0.0;
  RewardFraction = 1.0;
  if (last_event_time <= Start) {
    Reward = Reward_Function();
    RewardSqr = Reward * Reward;
  }
}

void InstantOfTime::CurrentReward() {
  Reward = Reward_Function();
  RewardSqr = Reward * Reward;
}
