#include "framework/san/Place.h"

#include "framework/Errors.h"

Place::Place() : SharableSV<short>(), TheMark(nullptr) {
  Register(&TheMark);
  TAVRIN_ASSERT(TheMark != nullptr);
}

Place::Place(const char* name) : SharableSV<short>(name, ""), TheMark(nullptr) {
  Register(&TheMark);
  TAVRIN_ASSERT(TheMark != nullptr);
}

Place::Place(const char* name, short initial) : SharableSV<short>(name, ""), TheMark(nullptr) {
  Register(&TheMark);
  setState(initial);
}
