#ifndef TAVRIN_RANDOM_RANDOMNUMBERGENERATOR_H
#define TAVRIN_RANDOM_RANDOMNUMBERGENERATOR_H

#include <cstdint>

// The seed a run uses when its seed option is 0.
const uint32_t DEFAULT_SEED = 31415;

// RandomNumberGenerator: the source of every uniform draw of a run. The generators are
// chosen at start-up and used through this interface, so a run can switch streams
// without the distributions knowing which one they draw from.
class RandomNumberGenerator {
 public:
  virtual ~RandomNumberGenerator();
  virtual double rnd();                    // next uniform number
  virtual void srnd(unsigned long seed);   // (re)seed from the low 32 bits of seed
};

#endif
