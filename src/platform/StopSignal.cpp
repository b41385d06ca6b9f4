#include "platform/StopSignal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void RecordStopSignal(int signo) { stopSignal = signo; }

}  // namespace

void InstallStopSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = RecordStopSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the handler serves once, so a second signal ends the process at once.
  // No SA_RESTART: a wait for the manager returns at once and sees the request.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int StopSignal() { return stopSignal; }
