#ifndef TAVRIN_RANDOM_DISTRIBUTIONS_H
#define TAVRIN_RANDOM_DISTRIBUTIONS_H

#include "random/RandomNumberGenerator.h"

// Distributions: turns the uniform numbers of the current generator into samples of the
// firing-time distributions. A call with invalid parameters throws a std::string that
// begins "INVALID_DIST_PARAMS: ", before any draw (HyperExponential checks its weights
// after its first draw).
class Distributions {
 public:
  Distributions();
  ~Distributions();
  Distributions(const Distributions&) = delete;
  Distributions& operator=(const Distributions&) = delete;

  double Exponential(double rate);
  double Deterministic(double value);
  double Geometric(double p);
  double Weibull(double alpha, double beta);
  double ConditionalWeibull(double alpha, double beta, double t);
  double Normal(double mean, double variance);
  double Lognormal(double mu, double alphasqrd);
  double Erlang(double m, double beta);
  double Triangular(double a, double b, double c);
  double Gamma(double alpha, double beta);
  double Beta(double alpha1, double beta1);
  double Uniform(double lbound, double ubound);
  double Binomial(double t, double p);
  double NegativeBinomial(double s, double p);
  // params holds phases pairs (rate, weight); the weights are normalised by their sum.
  double HyperExponential(int phases, const double* params);
  double HypoExponential(int phases, const double* rates);
  double Pareto(double xm, double k);

  RandomNumberGenerator* RNG;   // owned: deleted by the destructor and by whoever replaces it

 protected:
  // Working values of the most recent sample; overwritten by every call.
  double U1, U2, V1, V2, P, W, X, Y, Z;
  double a1, b1, d1, q1;   // set-up constants of the gamma methods

 private:
  void PolarStep();   // one accepted pair of the polar method: V1 and Y
  double GammaCheng(double alpha);
  double GammaAhrensDieter(double alpha);
};

#endif
