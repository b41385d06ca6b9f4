#include "rewards/SteadyStateImpulse.h"

void SteadyStateImpulse::Reset() {
  IntervalOfTimeImpulse::Reset();
  double length = Stop - Start;
  Start = Stop;
  Stop = Stop + length;
}
