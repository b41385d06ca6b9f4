#ifndef TAVRIN_REWARDS_STEADYSTATEIMPULSE_H
#define TAVRIN_REWARDS_STEADYSTATEIMPULSE_H

#include "rewards/TimeAveragedIntervalOfTimeImpulse.h"

// SteadyStateImpulse: the impulse reward of a steady-state variable: impulses per unit of
// time over the current batch, as TimeAveragedIntervalOfTimeImpulse counts them; Reset
// moves the window on to the next batch of the same length.
class SteadyStateImpulse : public TimeAveragedIntervalOfTimeImpulse {
 public:
  void Reset() override;
};

#endif
