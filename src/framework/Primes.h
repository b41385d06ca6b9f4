#ifndef TAVRIN_FRAMEWORK_PRIMES_H
#define TAVRIN_FRAMEWORK_PRIMES_H

// The first 256 primes (2 ... 1619); weights of the saved-state hash.
extern const int primes[256];

#endif
