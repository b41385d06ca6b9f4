#ifndef TAVRIN_REWARDS_TIMEAVERAGEDINTERVALOFTIMEIMPULSE_H
#define TAVRIN_REWARDS_TIMEAVERAGEDINTERVALOFTIMEIMPULSE_H

#include "rewards/IntervalOfTimeImpulse.h"

// TimeAveragedIntervalOfTimeImpulse: an impulse reward per unit of time over the window
// [Start, Stop]: each firing in the window adds its impulse divided by Stop - Start (an
// empty window adds nothing).
class TimeAveragedIntervalOfTimeImpulse : public IntervalOfTimeImpulse {
 public:
  void Accumulate(double next_time, double last_event_time) override;
};

#endif
