#ifndef TAVRIN_REWARDS_STEADYSTATE_H
#define TAVRIN_REWARDS_STEADYSTATE_H

#include "rewards/TimeAveragedIntervalOfTime.h"

// SteadyState: the worker of a steady-state variable. Its window is the current batch of
// the long run, over which it averages the rate reward as TimeAveragedIntervalOfTime does;
// Reset moves the window on to the next batch of the same length, as the node's own
// window moves.
class SteadyState : public TimeAveragedIntervalOfTime {
 public:
  void Reset() override;
};

#endif
