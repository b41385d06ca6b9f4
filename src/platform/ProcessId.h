#ifndef TAVRIN_PLATFORM_PROCESSID_H
#define TAVRIN_PLATFORM_PROCESSID_H

// The operating system's id of this process, as reported to the simulation manager.
int CurrentProcessId();

#endif
