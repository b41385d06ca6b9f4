#ifndef TAVRIN_REWARDS_INTERVALOFTIMEIMPULSE_H
#define TAVRIN_REWARDS_INTERVALOFTIMEIMPULSE_H

#include "rewards/ImpulseNodeClass.h"

// IntervalOfTimeImpulse: an impulse reward summed over the window [Start, Stop]. The node
// calls Accumulate once per firing of the earning action, at the accumulation that follows
// it, with the firing time as last_event_time; the impulse counts when that time lies in
// the window, valued by Impulse_Function() on the marking the firing left, with weight 1.
// Generated code supplies Impulse_Function and CreateImpulseWorkerList.
class IntervalOfTimeImpulse : public ImpulseNodeClass {
 public:
  void completeAccumulation(double finish_time) override;
  void Accumulate(double next_time, double last_event_time) override;
  void CurrentImpulse() override;
  void Reset() override;

 protected:
  // Adds fraction times the impulse to Impulse, and fraction times its square to
  // ImpulseSqr, when the firing at firing_time lies in the window.
  void AccumulateFiring(double firing_time, double fraction);
};

#endif
