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

  short& Mark() { return *TheMark; }
  short getMark() const { return *TheMark; }
  void setMark(short mark) { *TheMark = mark; }

 private:
  short* TheMark;  // not owned: follows the value storage through the chain
};

#endif
