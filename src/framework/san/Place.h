#ifndef TAVRIN_FRAMEWORK_SAN_PLACE_H
#define TAVRIN_FRAMEWORK_SAN_PLACE_H

#include "framework/state/SharableSV.h"

// Place: the marking of a SAN place. TheMark is registered in the pointer chain, so it
// keeps pointing at the marking when the place is shared.
class Place : public SharableSV<short> {
 public:
  Place();
  explicit Place(const char* name);
  Place(const char* name, short initial);

  // An initial marking computed by model code (from a global an override may set): a whole
  // number from 0 to 32767, or the run ends naming the place.
  static short InitialMarking(double value, const char* name);

  short& Mark() { return *TheMark; }
  short getMark() const { return *TheMark; }
  void setMark(short mark) { *TheMark = mark; }

 private:
  short* TheMark;  // not owned: follows the value storage through the chain
};

#endif
