#include "random/Tausworthe.h"

Tausworthe::Tausworthe() : seed(0) {}

void Tausworthe::srnd(unsigned long newSeed) { seed = static_cast<uint32_t>(newSeed); }

double Tausworthe::rnd() {
  static const double f = 1.0 / 2147483647.0;   // nearest double: bits 0x3E00000000200000
  uint32_t s = seed;
  s ^= s << 13;
  s &= 0x7FFFFFFFU;
  s ^= s >> 18;
  seed = s;
  return s * f;
}
