#ifndef TAVRIN_RANDOM_MERSENNETWISTER_H
#define TAVRIN_RANDOM_MERSENNETWISTER_H

#include <cstdint>

#include "random/RandomNumberGenerator.h"

// MersenneTwister: the 32-bit MT19937 generator; rnd() lies strictly between 0 and 1.
// Used before any srnd, it behaves as if seeded with 18671867.
class MersenneTwister : public RandomNumberGenerator {
 public:
  MersenneTwister();
  double rnd() override;
  void srnd(unsigned long seed) override;
  uint32_t rnd_int32();
  static uint32_t getMatrixA(uint32_t x);   // the twist constant when x is non-zero, else 0

  static const uint32_t MT_MATRIX_A = 0x9908b0dfU;
  static const uint32_t MT_UPPER_MASK = 0x80000000U;
  static const uint32_t MT_LOWER_MASK = 0x7fffffffU;

 private:
  void Regenerate();
  void Twist(int i, int next, int middle);   // word i from words i, next and middle

  uint32_t stateVector[624];
  bool sVInit;   // true once seeded
  int sVIdx;     // next word to temper; 624 means the block must be regenerated first
};

#endif
