#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "SteadyStateRun.h"

// Every experiment of the mm1k study, run in steady state, against the stationary
// distribution of the M/M/1/K birth-death chain, rho = lambda / mu:
//   p_n = rho^n / (1 + rho + ... + rho^K),  n = 0..K,
// whence number in system sum n p_n, utilisation 1 - p_0, throughput mu (1 - p_0) (which
// equals lambda (1 - p_K)), and blocking p_K. With K = 100 at rho = 0.8 these are the M/M/1
// values rho / (1 - rho) = 4, rho and lambda, to eight digits.

namespace {

// The model's steady-state variables, in the order of its result files.
const int kNumberInSystem = 0;
const int kUtilization = 1;
const int kThroughput = 2;
const int kBlocking = 3;

// The widest checked interval (blocking at rho = 0.5, a state visited a few times per
// thousand time units) comes to about 4% of its value at the lengths below; a run too short
// for its measure fails here rather than passing on a loose interval.
const double kMaxRelativeHalfWidth = 0.05;

struct QueueMeasures {
  double numberInSystem;
  double utilization;
  double throughput;
  double blocking;
};

QueueMeasures Mm1kClosedForm(double lambda, double mu, int K) {
  double rho = lambda / mu;
  std::vector<double> weight(K + 1);
  double sum = 0.0;
  for (int n = 0; n <= K; n++) {
    weight[n] = std::pow(rho, n);
    sum += weight[n];
  }
  double number = 0.0;
  for (int n = 0; n <= K; n++) number += n * weight[n] / sum;
  double p0 = weight[0] / sum;
  return {number, 1.0 - p0, mu * (1.0 - p0), weight[K] / sum};
}

struct Mm1kCase {
  const char* name;
  SteadyStateRun run;
  double lambda, mu;   // the experiment's values in the study
  int K;
};

void PrintTo(const Mm1kCase& c, std::ostream* out) { *out << c.name; }

class Mm1kAgainstClosedForm : public ::testing::TestWithParam<Mm1kCase> {};

}  // namespace

TEST(Mm1kClosedForm, LargeRoomGivesTheUnboundedQueue) {
  QueueMeasures m = Mm1kClosedForm(0.8, 1.0, 100);
  EXPECT_NEAR(m.numberInSystem, 0.8 / 0.2, 1e-6);
  EXPECT_NEAR(m.utilization, 0.8, 1e-9);
  EXPECT_NEAR(m.throughput, 0.8, 1e-9);
  EXPECT_LT(m.blocking, 1e-10);
}

TEST(Mm1kClosedForm, ThroughputBalancesAdmittedArrivals) {
  QueueMeasures m = Mm1kClosedForm(0.95, 1.0, 10);
  EXPECT_NEAR(m.throughput, 0.95 * (1.0 - m.blocking), 1e-12);
}

TEST_P(Mm1kAgainstClosedForm, EverySteadyStateMeasureHoldsTheAnalyticValue) {
  const Mm1kCase& c = GetParam();
  QueueMeasures expected = Mm1kClosedForm(c.lambda, c.mu, c.K);
  std::map<int, SampleStatistics> variables = RunSteadyState(c.run);
  EXPECT_EQ(variables.size(), 4u);   // the steady-state variables, and only those, observed
  int n = c.run.batches;
  ExpectAnalyticValueInside(variables, kNumberInSystem, n, expected.numberInSystem,
                            kMaxRelativeHalfWidth, "number in system");
  ExpectAnalyticValueInside(variables, kUtilization, n, expected.utilization,
                            kMaxRelativeHalfWidth, "utilisation");
  ExpectAnalyticValueInside(variables, kThroughput, n, expected.throughput,
                            kMaxRelativeHalfWidth, "throughput");
  if (expected.blocking > 1e-6) {
    ExpectAnalyticValueInside(variables, kBlocking, n, expected.blocking, kMaxRelativeHalfWidth,
                              "blocking");
  } else {
    // The full system is not reached in any feasible run; a worker that measured anything
    // else than the full state would still show here.
    ASSERT_EQ(variables.count(kBlocking), 1u);
    EXPECT_LT(variables.at(kBlocking).Interval(0.99).upper, 1e-6) << "blocking";
  }
}

// Batch boundaries draw no random numbers, so the same stream cut into 80000 batches of 25
// or 100 batches of 20000 is the same path over the same span: every mean of batch means
// is the same time average. A worker that leaks reward or impulses across a batch edge (an
// interval not clipped to its window, an impulse counted in two batches) shifts the short
// batches by several percent; long batches alone could not see it.
TEST(Mm1kBatchWindows, BatchCutsLeaveEveryTimeAverageUnchanged) {
  SteadyStateRun shortBatches{"mm1k_sim", 0, "", 25.0, 80000, 0, 26};
  SteadyStateRun longBatches{"mm1k_sim", 0, "", 20000.0, 100, 0, 26};
  std::map<int, SampleStatistics> cut = RunSteadyState(shortBatches);
  std::map<int, SampleStatistics> whole = RunSteadyState(longBatches);
  for (int variable : {kNumberInSystem, kUtilization, kThroughput, kBlocking}) {
    ASSERT_EQ(cut.count(variable), 1u) << variable;
    ASSERT_EQ(whole.count(variable), 1u) << variable;
    EXPECT_EQ(cut.at(variable).Count(), 80000) << variable;
    // The result file keeps ten decimals of each observation.
    EXPECT_NEAR(cut.at(variable).Mean(), whole.at(variable).Mean(),
                1e-9 * whole.at(variable).Mean() + 1e-9)
        << "variable " << variable;
  }
}

// Batches of 20000 time units are hundreds of relaxation times even at rho = 0.95 and for
// the unbounded queue at 0.8, so batch means are as good as independent. Rho = 0.5 runs ten
// times longer because its blocking state is rare. Each case draws from its own stream.
INSTANTIATE_TEST_SUITE_P(
    Experiments, Mm1kAgainstClosedForm,
    ::testing::Values(
        Mm1kCase{"Rho050K10", {"mm1k_sim", 0, "", 100000.0, 400, 0, 21}, 0.5, 1.0, 10},
        Mm1kCase{"Rho080K10", {"mm1k_sim", 1, "", 20000.0, 200, 1, 22}, 0.8, 1.0, 10},
        Mm1kCase{"Rho095K10", {"mm1k_sim", 2, "", 20000.0, 200, 2, 23}, 0.95, 1.0, 10},
        Mm1kCase{"Rho080Unbounded", {"mm1k_sim", 3, "", 20000.0, 200, 0, 24}, 0.8, 1.0, 100},
        // Rates doubled through overrides: the same chain on a clock twice as fast.
        Mm1kCase{"Rho080RatesOverridden",
                 {"mm1k_sim", 1, "d:lambda:1.6:d:mu:2", 10000.0, 200, 2, 25}, 1.6, 2.0, 10}),
    [](const ::testing::TestParamInfo<Mm1kCase>& info) { return std::string(info.param.name); });
