#include "platform/CPUTime.h"

#include <ctime>

void CPUTime::Start() {
  _initialCPUClock = static_cast<double>(std::clock());
  _initialSYSClock = 0;
}

// clock() ticks CLOCKS_PER_SEC times a second; the rate differs between platforms.
double CPUTime::GetTime() {
  return (static_cast<double>(std::clock()) - _initialCPUClock) / CLOCKS_PER_SEC;
}
