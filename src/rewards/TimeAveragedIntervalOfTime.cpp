#include "rewards/TimeAveragedIntervalOfTime.h"

void TimeAveragedIntervalOfTime::Accumulate(double next_time, double last_event_time) {
  double length = Stop - Start;
  AccumulateOverlap(next_time, last_event_time, length > 0.0 ? 1.0 / length : 0.0);
}
