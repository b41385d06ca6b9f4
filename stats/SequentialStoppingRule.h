#ifndef TAVRIN_STATS_SEQUENTIALSTOPPINGRULE_H
#define TAVRIN_STATS_SEQUENTIALSTOPPINGRULE_H

#include <cstdint>

// SequentialStoppingRule: the relative-precision procedure of Law and Kelton (Simulation
// Modeling and Analysis, sequential procedure of section 9.4.1): observations are added until
// the interval's half-width is at most precision / (1 + precision) times |mean| (so the error
// relative to the true mean is at most precision), or at most absTol for a mean near 0, after
// at least minObservations. A narrow interval met once may be luck, so a
// first success only schedules a confirming check after lookAhead more of the sample
// (e.g. 0.1 = 10% more observations); the rule stops when that check succeeds too, and
// starts over when it fails.
class SequentialStoppingRule {
 public:
  enum Decision { Continue, Confirming, Stop };

  SequentialStoppingRule(double precision, double absTol, int64_t minObservations,
                         double lookAhead);

  // Whether an interval of this half-width around mean meets the target.
  bool Met(double mean, double halfWidth) const;
  // The decision after a check of a sample of n observations whose least precise variable
  // has the given verdict.
  Decision Check(int64_t n, bool allMet);
  // The smallest sample worth checking next: the confirming size while confirming.
  int64_t NextCheck(int64_t n) const;
  // Observations still needed, estimated as n ((h / h*)^2 - 1) from the half-width ratio
  // h / h* of the least precise variable (the half-width shrinks as 1 / sqrt(n)).
  static double ObservationsLeft(int64_t n, double ratio);

 private:
  double _precision;
  double _absTol;
  int64_t _minObservations;
  double _lookAhead;
  int64_t _confirmAt = -1;   // the sample size of the pending confirming check, or -1
};

#endif
