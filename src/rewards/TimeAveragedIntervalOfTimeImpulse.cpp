#include "rewards/TimeAveragedIntervalOfTimeImpulse.h"

void TimeAveragedIntervalOfTimeImpulse::Accumulate(double, double last_event_time) {
  double length = Stop - Start;
  AccumulateFiring(last_event_time, length > 0.0 ? 1.0 / length : 0.0);
}
