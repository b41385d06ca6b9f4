#ifndef TAVRIN_RANDOM_LAGGEDFIBONACCI_H
#define TAVRIN_RANDOM_LAGGEDFIBONACCI_H

#include "random/RandomNumberGenerator.h"

// Knuth's floating-point lagged-Fibonacci generator (long lag 100, short lag 37). Its state
// lives in the module, not in the object, so every instance shares one stream.
extern "C" {
void ranf_start(int seed);
void ranf_array(double aa[], int n);   // n must be at least 100
double ranf_arr_cycle();
}

// LaggedFibonacci: the default generator; values in [0, 1) in multiples of 2^-52. The read
// position into rndArr is shared by all instances and survives reseeding, so a reseed
// continues at the same offset of the new batch rather than at its start.
class LaggedFibonacci : public RandomNumberGenerator {
 public:
  LaggedFibonacci();
  double rnd() override;
  void srnd(unsigned long seed) override;

 private:
  double rndArr[100];   // the current batch of outputs
};

#endif
