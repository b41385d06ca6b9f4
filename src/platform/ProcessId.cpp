#include "platform/ProcessId.h"

#include <unistd.h>

int CurrentProcessId() { return static_cast<int>(getpid()); }
