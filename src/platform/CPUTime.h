#ifndef TAVRIN_PLATFORM_CPUTIME_H
#define TAVRIN_PLATFORM_CPUTIME_H

// CPUTime: a stopwatch of the processor seconds the process has used since Start.
class CPUTime {
 public:
  void Start();
  double GetTime();  // seconds since Start; meaningless before Start

 private:
  double _initialCPUClock = 0;  // processor clock at Start, in clock ticks
  double _initialSYSClock = 0;  // set by Start and read nowhere else
};

#endif
