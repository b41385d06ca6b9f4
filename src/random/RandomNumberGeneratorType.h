#ifndef TAVRIN_RANDOM_RANDOMNUMBERGENERATORTYPE_H
#define TAVRIN_RANDOM_RANDOMNUMBERGENERATORTYPE_H

// The uniform generators a run can choose with -r.
enum RandomNumberGeneratorType {
  LAGGED_FIBONACCI = 0,
  TAUSWORTHE = 1,
  MERSENNE_TWISTER = 2,
  MAX_NUM_GENERATORS = 3
};

#endif
