#ifndef TAVRIN_RANDOM_TAUSWORTHE_H
#define TAVRIN_RANDOM_TAUSWORTHE_H

#include <cstdint>

#include "random/RandomNumberGenerator.h"

// Tausworthe: a 31-bit shift-register generator whose one word is its whole state. Values
// lie in [0, 1], both ends reachable; a state of 0 stays 0.
class Tausworthe : public RandomNumberGenerator {
 public:
  Tausworthe();
  double rnd() override;
  void srnd(unsigned long seed) override;

 private:
  uint32_t seed;
};

#endif
