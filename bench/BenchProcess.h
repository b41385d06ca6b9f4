#ifndef TAVRIN_BENCH_BENCHPROCESS_H
#define TAVRIN_BENCH_BENCHPROCESS_H

// What the replicated-model harnesses measure about their own process: resident and peak
// memory, a simulator built from a command line with its set-up chatter silenced, and
// steps of the engine.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "engine/EventList.h"
#include "engine/SimulatorClass.h"

inline long ResidentKilobytes() {
  long pages = 0;
  long resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr || std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
    std::cerr << "bench: cannot read /proc/self/statm" << std::endl;
    std::exit(1);
  }
  std::fclose(statm);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline long PeakKilobytes() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The simulator of the command line args (the program name first); what it prints while it
// sets up goes to /dev/null.
inline SimulatorClass* MakeSimulator(std::vector<char*> args) {
  args.push_back(nullptr);
  std::cout.flush();
  std::fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  int sink = open("/dev/null", O_WRONLY);
  dup2(sink, STDOUT_FILENO);
  SimulatorClass* simulator = new SimulatorClass(static_cast<int>(args.size()) - 1, args.data());
  std::cout.flush();
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(sink);
  close(saved);
  return simulator;
}

inline void Steps(SimulatorClass* sim, long count) {
  for (long i = 0; i < count; i++) {
    if (!sim->SimStep()) {
      std::cerr << "bench: the event list ran empty" << std::endl;
      std::exit(1);
    }
  }
}

// Builds the initial event list and makes its earliest event the next one, as a run does.
inline void StartRun(SimulatorClass* sim) {
  sim->CurrentTime = 0;
  sim->GenerateInitialEnabledList();
  sim->GenerateCompleteEventList();
}

inline void TakeFirstEvent(SimulatorClass* sim) {
  sim->NextEvent = sim->TheEventList->Earliest();
  sim->CurrentTime = (*sim->NextEvent)->exec_time;
  sim->CurrAction = (*sim->NextEvent)->action_ptr;
}

#endif
