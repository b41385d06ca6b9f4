#ifndef TAVRIN_RANDOM_USERDISTRIBUTIONS_H
#define TAVRIN_RANDOM_USERDISTRIBUTIONS_H

#include "random/Distributions.h"

// UserDistributions: the distribution object with the generator of a run's choice:
// 0 lagged Fibonacci, 1 Tausworthe, any other value lagged Fibonacci.
class UserDistributions : public Distributions {
 public:
  UserDistributions();                           // unseeded lagged Fibonacci
  UserDistributions(int generator, long seed);   // seeded with the low 32 bits of seed
};

// The process-wide distribution object, made before main with the default generator and
// seed, and the handle through which every draw of the run is made.
extern UserDistributions TheGenerator;
extern UserDistributions* TheDistribution;

#endif
