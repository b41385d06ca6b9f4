#include "platform/TavrinMutex.h"

#include <cstdio>

int TavrinMutex::_globalID = 0;

// The name only identifies the mutex; exclusion is needed within the process alone.
TavrinMutex::TavrinMutex() {
  _globalID++;
  std::snprintf(_name, sizeof(_name), "mutex%d", _globalID);
}

void TavrinMutex::Get() { _mutex.lock(); }

void TavrinMutex::Release() { _mutex.unlock(); }
