#include "Atomic/FACILITY/FACILITYSAN.h"

FACILITYSAN::FACILITYSAN() {
  crews = new Place("crews", static_cast<short>(::crews));
  BaseStateVariableClass* places[] = {crews};
  initializeSANModelNow("Facility", 1, places, 0, nullptr, 0, nullptr, 0, nullptr);
}

FACILITYSAN::~FACILITYSAN() { delete crews; }
