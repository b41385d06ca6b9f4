#include "random/MersenneTwister.h"

namespace {

const int N = 624;
const int M = 397;   // the middle offset of the recurrence
const uint32_t kUnseededSeed = 18671867U;

}  // namespace

const uint32_t MersenneTwister::MT_MATRIX_A;
const uint32_t MersenneTwister::MT_UPPER_MASK;
const uint32_t MersenneTwister::MT_LOWER_MASK;

MersenneTwister::MersenneTwister() : stateVector(), sVInit(false), sVIdx(N) {}

uint32_t MersenneTwister::getMatrixA(uint32_t x) { return x ? MT_MATRIX_A : 0U; }

void MersenneTwister::srnd(unsigned long seed) {
  stateVector[0] = static_cast<uint32_t>(seed);
  for (int i = 1; i < N; i++) {
    uint32_t previous = stateVector[i - 1];
    stateVector[i] = 1812433253U * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
  }
  sVIdx = N;
  sVInit = true;
}

// The recurrence over the block, in the three ranges where the words it reads do not wrap
// around, so that no word needs an index taken modulo the block length.
void MersenneTwister::Regenerate() {
  int i = 0;
  for (; i < N - M; i++) Twist(i, i + 1, i + M);
  for (; i < N - 1; i++) Twist(i, i + 1, i + M - N);
  Twist(N - 1, 0, M - 1);
  sVIdx = 0;
}

inline void MersenneTwister::Twist(int i, int next, int middle) {
  uint32_t y = (stateVector[i] & MT_UPPER_MASK) | (stateVector[next] & MT_LOWER_MASK);
  stateVector[i] = stateVector[middle] ^ (y >> 1) ^ getMatrixA(y & 1U);
}

uint32_t MersenneTwister::rnd_int32() {
  if (sVIdx > N - 1) {
    if (!sVInit) srnd(kUnseededSeed);
    Regenerate();
  }
  uint32_t y = stateVector[sVIdx++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680U;
  y ^= (y << 15) & 0xefc60000U;
  y ^= y >> 18;
  return y;
}

double MersenneTwister::rnd() { return (rnd_int32() + 0.5) * (1.0 / 4294967296.0); }
