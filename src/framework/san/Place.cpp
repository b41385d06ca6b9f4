#include "framework/san/Place.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

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

short Place::InitialMarking(double value, const char* name) {
  if (!(value >= 0 && value <= 32767) || value != std::floor(value)) {
    std::cerr << "ERROR: MARKING_OUT_OF_RANGE: place " << name << " would start with " << value
              << " tokens; a place holds a whole number from 0 to 32767 tokens" << std::endl;
    std::exit(1);
  }
  return static_cast<short>(value);
}
