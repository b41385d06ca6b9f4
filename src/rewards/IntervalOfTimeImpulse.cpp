#include "rewards/IntervalOfTimeImpulse.h"

// Every impulse is accounted for at the accumulation that follows its firing, which the
// node makes before completing; the end of a batch leaves nothing pending.
void IntervalOfTimeImpulse::completeAccumulation(double) {}

void IntervalOfTimeImpulse::Accumulate(double, double last_event_time) {
  AccumulateFiring(last_event_time, 1.0);
}

void IntervalOfTimeImpulse::CurrentImpulse() {
  Impulse = Impulse_Function();
  ImpulseSqr = Impulse * Impulse;
}

void IntervalOfTimeImpulse::Reset() { ImpulseNodeClass::Reset(); }

void IntervalOfTimeImpulse::AccumulateFiring(double firing_time, double fraction) {
  ImpulseFraction = fraction;
  if (firing_time < Start || firing_time > Stop) return;
  double value = Impulse_Function();
  Impulse += fraction * value;
  ImpulseSqr += fraction * value * value;
}
