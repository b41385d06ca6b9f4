#include "random/UserDistributions.h"

#include "random/LaggedFibonacci.h"
#include "random/Tausworthe.h"

UserDistributions::UserDistributions() : Distributions() {
  delete RNG;
  RNG = new LaggedFibonacci();
}

// The generator kinds here are the two a distribution object is ever made with; the
// simulator installs the Mersenne Twister itself when a run asks for it.
UserDistributions::UserDistributions(int generator, long seed) : Distributions() {
  delete RNG;
  if (generator == 1)
    RNG = new Tausworthe();
  else
    RNG = new LaggedFibonacci();
  RNG->srnd(static_cast<uint32_t>(seed));
}

UserDistributions TheGenerator(0, DEFAULT_SEED);
UserDistributions* TheDistribution = &TheGenerator;
