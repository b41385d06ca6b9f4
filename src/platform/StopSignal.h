#ifndef TAVRIN_PLATFORM_STOPSIGNAL_H
#define TAVRIN_PLATFORM_STOPSIGNAL_H

// The request to stop a run from outside: SIGINT or SIGTERM. The handler only records the
// signal; the simulation loops look at it between batches, so that the run can end its
// batch, write what it holds and close its result files whole. A second signal of either
// kind ends the process at once, as without a handler.

// Installs the handler for SIGINT and SIGTERM.
void InstallStopSignalHandlers();

// The signal that asked the run to stop, or 0 while none has come.
int StopSignal();

#endif
