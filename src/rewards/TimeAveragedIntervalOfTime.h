#ifndef TAVRIN_REWARDS_TIMEAVERAGEDINTERVALOFTIME_H
#define TAVRIN_REWARDS_TIMEAVERAGEDINTERVALOFTIME_H

#include "rewards/IntervalOfTime.h"

// TimeAveragedIntervalOfTime: the worker of a variable that averages its rate reward over
// the window [Start, Stop]: the reward of each accumulation as for IntervalOfTime, with
// weight 1 / (Stop - Start). An empty window has weight 0, so its variable stays 0 instead
// of turning into a division by zero.
class TimeAveragedIntervalOfTime : public IntervalOfTime {
 public:
  void Accumulate(double next_time, double last_event_time) override;
};

#endif
