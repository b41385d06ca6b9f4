#include "rewards/SteadyState.h"

void SteadyState::Reset() {
  PerformanceVariableWorker::Reset();
  double length = Stop - Start;
  Start = Stop;
  Stop = Stop + length;
}
