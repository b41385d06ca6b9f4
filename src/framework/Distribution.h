#ifndef TAVRIN_FRAMEWORK_DISTRIBUTION_H
#define TAVRIN_FRAMEWORK_DISTRIBUTION_H

// Distribution: the kind of an action's firing-time distribution, as a generated model
// declares it; the engine and the samplers dispatch on it.
enum Distribution {
  Proprietary = 0,
  Exponential = 1,
  Deterministic = 2,
  Geometric = 3,
  Weibull = 4,
  Normal = 5,
  Lognormal = 6,
  Erlang = 7,
  Triangular = 8,
  Gamma = 9,
  Beta = 10,
  Uniform = 11,
  Binomial = 12,
  NegativeBinomial = 13,
  HyperExponential = 14,
  ConditionalWeibull = 15,
  HypoExponential = 16,
  Pareto = 17,
  Instantaneous = 18
};

// ExecutionPolicyType: the execution policy an activity declares. It is kept and printed
// with the action; scheduling does not depend on it.
enum ExecutionPolicyType { RaceResampling = 0, RaceEnabled = 1, RaceAge = 2 };

#endif
