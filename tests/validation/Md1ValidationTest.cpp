#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

#include "SteadyStateRun.h"

// The md1 queue in steady state against Pollaczek-Khinchine for deterministic service,
// rho = lambda / mu:
//   L = rho + rho^2 / (2 (1 - rho)),   utilisation = rho.
// L holds only when a service in progress keeps its completion time while arrivals change
// the marking: a service resampled at an arrival lasts longer than 1 / mu, and the queue
// grows well past L.

namespace {

const int kNumberInSystem = 0;
const int kUtilization = 1;

// The number in system is the wider of the two, about 1.5% of L at rho = 0.8 over the run
// lengths below.
const double kMaxRelativeHalfWidth = 0.03;

double PollaczekKhinchine(double rho) { return rho + rho * rho / (2.0 * (1.0 - rho)); }

struct Md1Case {
  const char* name;
  SteadyStateRun run;
  double lambda, mu;
};

void PrintTo(const Md1Case& c, std::ostream* out) { *out << c.name; }

class Md1AgainstPollaczekKhinchine : public ::testing::TestWithParam<Md1Case> {};

}  // namespace

TEST_P(Md1AgainstPollaczekKhinchine, NumberInSystemAndUtilisationHoldTheAnalyticValues) {
  const Md1Case& c = GetParam();
  double rho = c.lambda / c.mu;
  std::map<int, SampleStatistics> variables = RunSteadyState(c.run);
  EXPECT_EQ(variables.size(), 2u);
  ExpectAnalyticValueInside(variables, kNumberInSystem, c.run.batches, PollaczekKhinchine(rho),
                            kMaxRelativeHalfWidth, "number in system");
  ExpectAnalyticValueInside(variables, kUtilization, c.run.batches, rho, kMaxRelativeHalfWidth,
                            "utilisation");
  // The interval is narrow enough to tell the deterministic service from an exponential one
  // of the same mean, whose queue holds rho / (1 - rho).
  ASSERT_EQ(variables.count(kNumberInSystem), 1u);
  EXPECT_LT(variables.at(kNumberInSystem).Interval(0.99).upper, rho / (1.0 - rho));
}

// Batches of 20000 time units are long against the queue's relaxation time even at
// rho = 0.8. The override shortens the service to 0.5 and raises the arrival rate with it.
INSTANTIATE_TEST_SUITE_P(
    Settings, Md1AgainstPollaczekKhinchine,
    ::testing::Values(
        Md1Case{"Rho050", {"md1_sim", 0, "", 20000.0, 200, 1, 31}, 0.5, 1.0},
        Md1Case{"Rho080", {"md1_sim", 1, "", 20000.0, 200, 2, 32}, 0.8, 1.0},
        Md1Case{"Rho070RatesOverridden",
                {"md1_sim", 0, "d:lambda:1.4:d:mu:2", 10000.0, 200, 0, 33}, 1.4, 2.0}),
    [](const ::testing::TestParamInfo<Md1Case>& info) { return std::string(info.param.name); });
