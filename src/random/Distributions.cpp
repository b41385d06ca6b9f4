#include "random/Distributions.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "random/LaggedFibonacci.h"

namespace {

const double kLn4 = 1.3862943611198906;
const double kE = 2.718281828459045;

[[noreturn]] void Invalid(const char* reason) {
  throw std::string("INVALID_DIST_PARAMS: ") + reason;
}

// Integral means equal to its truncation to a 32-bit integer; values outside that range
// (and NaN) are not, and are never converted, since that conversion is undefined.
bool IsIntegral(double x) {
  if (!(x >= INT_MIN && x <= INT_MAX)) return false;
  return x == static_cast<int>(x);
}

// A NaN or infinite parameter would give a NaN or infinite delay, or pass the range
// checks below (NaN compares false with everything): it is refused first.
void RequireFinite(double x, const char* name) {
  if (!std::isfinite(x)) Invalid((std::string(name) + " is not finite").c_str());
}

// Erlang's product of uniforms is folded into a sum of logarithms before it can underflow
// (it would reach 0 after about 700 stages); above this bound a product of doubles in
// (0, 1] cannot underflow with the next factor.
const double kErlangFoldBelow = 1e-280;

}  // namespace

Distributions::Distributions()
    : RNG(new LaggedFibonacci()),
      U1(0), U2(0), V1(0), V2(0), P(0), W(0), X(0), Y(0), Z(0), a1(0), b1(0), d1(0), q1(0) {}

Distributions::~Distributions() { delete RNG; }

double Distributions::Exponential(double rate) {
  RequireFinite(rate, "rate");
  if (rate <= 0) Invalid("rate is non-positive");
  return -std::log(RNG->rnd()) / rate;
}

double Distributions::Deterministic(double value) {
  RequireFinite(value, "value");
  if (value <= 0) Invalid("value is non-positive");
  return value;
}

// The number of failures before the first success.
double Distributions::Geometric(double p) {
  RequireFinite(p, "p");
  if (p <= 0 || p >= 1) Invalid("p is not in the range (0,1)");
  return std::floor(std::log(RNG->rnd()) / std::log(1 - p));
}

double Distributions::Weibull(double alpha, double beta) {
  RequireFinite(alpha, "Alpha");
  RequireFinite(beta, "Beta");
  if (beta <= 0) Invalid("Beta is non-positive");
  if (alpha == 0) Invalid("Alpha is zero");
  return beta * std::pow(-std::log(RNG->rnd()), 1 / alpha);
}

// The remaining life of a Weibull-distributed lifetime that has already lasted t.
// A negative age has no remaining life; the result is never below 0, which rounding
// could otherwise give for a tiny remaining life.
double Distributions::ConditionalWeibull(double alpha, double beta, double t) {
  RequireFinite(alpha, "Alpha");
  RequireFinite(beta, "Beta");
  RequireFinite(t, "t");
  if (beta <= 0) Invalid("Beta is non-positive");
  if (alpha == 0) Invalid("Alpha is zero");
  if (t < 0) Invalid("t is negative");
  Z = std::exp(-std::pow(t / beta, alpha));
  U1 = RNG->rnd();
  const double remaining = beta * std::pow(-std::log(U1 * Z), 1 / alpha) - t;
  return remaining > 0 ? remaining : 0;
}

void Distributions::PolarStep() {
  do {
    U1 = RNG->rnd();
    U2 = RNG->rnd();
    V1 = 2 * U1 - 1;
    V2 = 2 * U2 - 1;
    W = V1 * V1 + V2 * V2;
  } while (W > 1);
  Y = std::sqrt(-2 * std::log(W) / W);
}

// A firing time cannot be negative, so a negative deviate starts the draw again.
double Distributions::Normal(double mean, double variance) {
  RequireFinite(mean, "mean");
  RequireFinite(variance, "variance");
  if (variance < 0) Invalid("variance is negative");
  double value;
  do {
    PolarStep();
    value = std::sqrt(variance) * V1 * Y + mean;
  } while (!(value >= 0));
  return value;
}

double Distributions::Lognormal(double mu, double alphasqrd) {
  RequireFinite(mu, "mu");
  RequireFinite(alphasqrd, "Alpha_Squared");
  if (alphasqrd < 0) Invalid("Alpha_Squared is negative");
  PolarStep();
  return std::exp(std::sqrt(alphasqrd) * V1 * Y + mu);
}

// The sum of m exponential stages, as -ln of the product of m uniforms. For few stages
// the product never comes near underflow and the result is exactly -ln(product).
double Distributions::Erlang(double m, double beta) {
  RequireFinite(m, "m");
  RequireFinite(beta, "Beta");
  if (m <= 0) Invalid("m is non-positive");
  if (!IsIntegral(m)) Invalid("m is non-integer");
  if (beta <= 0) Invalid("Beta is non-positive");
  const int stages = static_cast<int>(m);
  double product = 1;
  double folded = 0;  // logarithms of the parts of the product already taken out
  for (int i = 1; i <= stages; i++) {
    product *= RNG->rnd();
    if (product < kErlangFoldBelow) {
      folded += std::log(product);
      product = 1;
    }
  }
  if (folded == 0) return -(beta / m) * std::log(product);
  return -(beta / m) * (folded + std::log(product));
}

double Distributions::Triangular(double a, double b, double c) {
  RequireFinite(a, "A");
  RequireFinite(b, "B");
  RequireFinite(c, "C");
  if (a > b) Invalid("A is larger than B");
  if (c < a || c > b) Invalid("C is not in the range [A,B]");
  if (a < 0) Invalid("A is negative");
  if (a == b) return a;
  U1 = RNG->rnd();
  const double mode = (c - a) / (b - a);
  X = (U1 <= mode) ? std::sqrt(U1 * mode) : 1 - std::sqrt((1 - U1) * (1 - mode));
  return a + (b - a) * X;
}

// Cheng's rejection method GB, for shapes above 1.
double Distributions::GammaCheng(double alpha) {
  const double theta = 4.5;
  a1 = 1 / std::sqrt(2 * alpha - 1);
  b1 = alpha - kLn4;
  q1 = alpha + 1 / a1;
  d1 = 1 + std::log(theta);
  for (;;) {
    U1 = RNG->rnd();
    U2 = RNG->rnd();
    V1 = a1 * std::log(U1 / (1 - U1));
    Y = alpha * std::exp(V1);
    Z = U1 * U1 * U2;
    W = b1 + q1 * V1 - Y;
    if (W + d1 - theta * Z >= 0 || W >= std::log(Z)) return Y;
  }
}

// Ahrens and Dieter's method GS, for shapes below 1.
double Distributions::GammaAhrensDieter(double alpha) {
  b1 = (kE + alpha) / kE;
  for (;;) {
    U1 = RNG->rnd();
    P = b1 * U1;
    if (P <= 1) {
      Y = std::pow(P, 1 / alpha);
      U2 = RNG->rnd();
      if (U2 <= std::exp(-Y)) return Y;
    } else {
      Y = -std::log((b1 - P) / alpha);
      U2 = RNG->rnd();
      if (U2 <= std::pow(Y, alpha - 1)) return Y;
    }
  }
}

double Distributions::Gamma(double alpha, double beta) {
  RequireFinite(alpha, "Alpha");
  RequireFinite(beta, "Beta");
  if (beta <= 0) Invalid("Beta is non-positive");
  if (alpha <= 0) Invalid("Alpha is non-positive");
  if (alpha > 1) return GammaCheng(alpha) * beta;
  if (alpha < 1) return GammaAhrensDieter(alpha) * beta;
  return -std::log(RNG->rnd()) * beta;
}

double Distributions::Beta(double alpha1, double beta1) {
  const double g1 = Gamma(alpha1, 1);
  const double g2 = Gamma(beta1, 1);
  return g1 / (g1 + g2);
}

double Distributions::Uniform(double lbound, double ubound) {
  RequireFinite(lbound, "LowerBound");
  RequireFinite(ubound, "UpperBound");
  if (lbound < 0) Invalid("LowerBound is negative");
  if (lbound > ubound) Invalid("LowerBound is larger than UpperBound");
  return lbound + RNG->rnd() * (ubound - lbound);
}

double Distributions::Binomial(double t, double p) {
  RequireFinite(t, "t");
  RequireFinite(p, "p");
  if (p < 0 || p > 1) Invalid("p is not in the range [0,l]");
  if (!IsIntegral(t)) Invalid("t is non-integer");
  int successes = 0;
  for (int i = 0; i < t; i++)
    if (RNG->rnd() <= p) successes++;
  return successes;
}

// The number of failures before the s-th success. With p = 0 no success ever comes.
double Distributions::NegativeBinomial(double s, double p) {
  RequireFinite(s, "s");
  RequireFinite(p, "p");
  if (p < 0 || p >= 1) Invalid("p is not in the range [0,l)");
  if (p == 0) Invalid("p is zero");
  if (!IsIntegral(s)) Invalid("s is non-integer");
  double failures = 0;
  const double lnFailure = std::log(1 - p);
  for (int i = 0; i < s; i++) failures += std::floor(std::log(RNG->rnd()) / lnFailure);
  return failures;
}

double Distributions::HyperExponential(int phases, const double* params) {
  char message[64];
  if (phases < 1) Invalid("Phases is less than 1");
  for (int i = 0; i < 2 * phases; i++) {
    if (!std::isfinite(params[i])) {
      std::snprintf(message, sizeof message, "%s%d is not finite", i % 2 == 0 ? "Rate" : "p", i / 2);
      Invalid(message);
    }
  }
  U1 = RNG->rnd();
  double sum = 0;
  for (int i = 0; i < phases; i++) {
    const double weight = params[2 * i + 1];
    if (weight <= 0) {
      std::snprintf(message, sizeof message, "p%d is non-positive", i);
      Invalid(message);
    }
    sum += weight;
  }
  int j = 0;
  double cumulative = params[1];
  while (U1 >= cumulative / sum && j < phases - 1) {
    j++;
    cumulative += params[2 * j + 1];
  }
  const double rate = params[2 * j];
  if (rate <= 0) {
    std::snprintf(message, sizeof message, "Rate%d is non-positive", j);
    Invalid(message);
  }
  return -std::log(RNG->rnd()) / rate;
}

double Distributions::HypoExponential(int phases, const double* rates) {
  double total = 0;
  for (int i = 0; i < phases; i++) total += Exponential(rates[i]);
  return total;
}

double Distributions::Pareto(double xm, double k) {
  RequireFinite(xm, "LowerBound");
  RequireFinite(k, "Shape");
  if (xm <= 0) Invalid("LowerBound is non-positive");
  if (k <= 0) Invalid("Shape is non-positive");
  return std::exp(std::log(xm) - std::log(RNG->rnd()) / k);
}
