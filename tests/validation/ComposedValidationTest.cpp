#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "SteadyStateRun.h"

// The two composed models against theory, each run in steady state as a user runs it.
//
// repair (models/repair/repair.toml): N machines, each a copy of one machine submodel in a
// replicated model, failing at rate lambda, joined with a repair facility of c crews
// repairing at rate mu; a repair fails with probability q and its machine waits again. The
// number k of broken machines is a birth-death chain with birth rate (N - k) lambda and
// death rate min(k, c) mu (1 - q), so p_k is proportional to prod_{i<k} (N - i) lambda /
// (min(i + 1, c) mu (1 - q)); then broken = sum k p_k, crew utilisation = sum min(k, c) p_k
// / c, and failures per unit of time = lambda (N - broken). Its last two experiments are
// those of the atomic machine-repair model (models/machine_repair), whose figures it must
// give too.
//
// tandem: three single-server stations in a ring, M customers, rates mu_i, built by
// joining three instances of one station model on their buffers. Gordon-Newell: p(n) is
// proportional to prod_i (1 / mu_i)^n_i over n1 + n2 + n3 = M, so with G(m) the sum of these
// weights over the states of m customers the throughput is G(M - 1) / G(M) and the mean
// queue length of station i is sum n_i p(n).

namespace {

const double kMaxRelativeHalfWidth = 0.03;

struct RepairMeasures {
  double broken;
  double utilisation;
  double failures;
};

RepairMeasures RepairClosedForm(int N, int c, double lambda, double mu, double q) {
  std::vector<double> weight(N + 1);
  weight[0] = 1.0;
  for (int k = 1; k <= N; k++)
    weight[k] = weight[k - 1] * (N - k + 1) * lambda / (std::min(k, c) * mu * (1.0 - q));
  double sum = 0.0;
  for (double w : weight) sum += w;
  double broken = 0.0;
  double busy = 0.0;
  for (int k = 0; k <= N; k++) {
    broken += k * weight[k] / sum;
    busy += std::min(k, c) * weight[k] / sum;
  }
  return {broken, busy / c, lambda * (N - broken)};
}

struct TandemMeasures {
  double throughput;
  double queue[3];
};

double Power(double x, int n) {
  double result = 1.0;
  for (int i = 0; i < n; i++) result *= x;
  return result;
}

TandemMeasures GordonNewell(int M, const double mu[3]) {
  auto G = [&](int m) {
    double g = 0.0;
    for (int a = 0; a <= m; a++)
      for (int b = 0; a + b <= m; b++)
        g += Power(1 / mu[0], a) * Power(1 / mu[1], b) * Power(1 / mu[2], m - a - b);
    return g;
  };
  TandemMeasures measures{G(M - 1) / G(M), {0.0, 0.0, 0.0}};
  double total = G(M);
  for (int a = 0; a <= M; a++) {
    for (int b = 0; a + b <= M; b++) {
      int n[3] = {a, b, M - a - b};
      double p = Power(1 / mu[0], a) * Power(1 / mu[1], b) * Power(1 / mu[2], M - a - b) / total;
      for (int i = 0; i < 3; i++) measures.queue[i] += n[i] * p;
    }
  }
  return measures;
}

struct RepairCase {
  const char* name;
  SteadyStateRun run;
  int N, c;
  double lambda, mu, q;
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

struct TandemCase {
  const char* name;
  SteadyStateRun run;
  int M;
  double mu[3];
};

void PrintTo(const TandemCase& c, std::ostream* out) { *out << c.name; }

class RepairAgainstBirthDeath : public ::testing::TestWithParam<RepairCase> {};
class TandemAgainstGordonNewell : public ::testing::TestWithParam<TandemCase> {};

}  // namespace

// Hand-worked: N = 2, c = 1, lambda = mu = 1 gives weights 1, 2, 2 (k = 0, 1, 2), so broken
// is (2 + 4) / 5 = 1.2, utilisation (2 + 2) / 5 = 0.8 and failures 1 x (2 - 1.2) = 0.8.
TEST(RepairClosedForm, TwoMachinesOneCrew) {
  RepairMeasures m = RepairClosedForm(2, 1, 1.0, 1.0, 0.0);
  EXPECT_NEAR(m.broken, 1.2, 1e-12);
  EXPECT_NEAR(m.utilisation, 0.8, 1e-12);
  EXPECT_NEAR(m.failures, 0.8, 1e-12);
}

// Hand-worked: M = 1 customer visits each station in turn, so the throughput is 1 over the
// sum of the mean service times, and each queue holds the customer its share of that time:
// rates 1, 2, 4 give 1 / 1.75 and queues 1 / 1.75, 0.5 / 1.75, 0.25 / 1.75.
TEST(GordonNewellClosedForm, OneCustomerCyclesThroughTheStations) {
  const double mu[3] = {1.0, 2.0, 4.0};
  TandemMeasures m = GordonNewell(1, mu);
  EXPECT_NEAR(m.throughput, 1 / 1.75, 1e-12);
  EXPECT_NEAR(m.queue[0], 1 / 1.75, 1e-12);
  EXPECT_NEAR(m.queue[1], 0.5 / 1.75, 1e-12);
  EXPECT_NEAR(m.queue[2], 0.25 / 1.75, 1e-12);
}

// Variables of repair_sim: Broken, CrewUtilisation, Failures.
TEST_P(RepairAgainstBirthDeath, BrokenMachinesCrewUtilisationAndFailureRate) {
  const RepairCase& c = GetParam();
  RepairMeasures expected = RepairClosedForm(c.N, c.c, c.lambda, c.mu, c.q);
  std::map<int, SampleStatistics> variables = RunSteadyState(c.run);
  EXPECT_EQ(variables.size(), 3u);
  int n = c.run.batches;
  ExpectAnalyticValueInside(variables, 0, n, expected.broken, kMaxRelativeHalfWidth, "broken");
  ExpectAnalyticValueInside(variables, 1, n, expected.utilisation, kMaxRelativeHalfWidth,
                            "crew utilisation");
  ExpectAnalyticValueInside(variables, 2, n, expected.failures, kMaxRelativeHalfWidth,
                            "failures");
}

// Variables of tandem_sim: Throughput, Queue1, Queue2, Queue3.
TEST_P(TandemAgainstGordonNewell, ThroughputAndQueueLengths) {
  const TandemCase& c = GetParam();
  TandemMeasures expected = GordonNewell(c.M, c.mu);
  std::map<int, SampleStatistics> variables = RunSteadyState(c.run);
  EXPECT_EQ(variables.size(), 4u);
  int n = c.run.batches;
  ExpectAnalyticValueInside(variables, 0, n, expected.throughput, kMaxRelativeHalfWidth,
                            "throughput");
  for (int i = 0; i < 3; i++)
    ExpectAnalyticValueInside(variables, i + 1, n, expected.queue[i], kMaxRelativeHalfWidth,
                              "queue " + std::to_string(i + 1));
}

// Batches of 1000 time units are a few hundred failure or service times; a few hundred
// batches give 99% intervals of about 1% of the measures.
INSTANTIATE_TEST_SUITE_P(
    Experiments, RepairAgainstBirthDeath,
    ::testing::Values(
        RepairCase{"FiveMachinesTwoCrews", {"repair_sim", 0, "", 1000.0, 300, 0, 31}, 5, 2, 0.5, 1.0, 0.0},
        RepairCase{"TenMachinesThreeCrews", {"repair_sim", 1, "", 1000.0, 300, 1, 32}, 10, 3, 0.2, 1.0, 0.0},
        // The number of copies is a global variable, read when the model is built.
        RepairCase{"FortyMachinesSixCrewsOverridden",
                   {"repair_sim", 1, "i:numMachines:40:i:numCrews:6", 1000.0, 200, 2, 33},
                   40, 6, 0.2, 1.0, 0.0},
        RepairCase{"FailedRepairsTwoCrews", {"repair_sim", 2, "", 2000.0, 300, 0, 34}, 10, 2, 0.1, 0.5, 0.2},
        // One copy still shares its places, with itself.
        RepairCase{"OneMachineOverridden", {"repair_sim", 0, "i:numMachines:1", 1000.0, 300, 0, 35},
                   1, 2, 0.5, 1.0, 0.0}),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return std::string(info.param.name); });

// The composed model and the atomic machine-repair model, run side by side on the same
// parameters (repair's experiments 2 and 3 are machine_repair's 0 and 1): broken machines and
// crew utilisation (variables 0 and 1 of both) agree within the sum of their two 99%
// half-widths.
struct SideBySide {
  const char* name;
  SteadyStateRun composed;
  SteadyStateRun atomic;
};

void PrintTo(const SideBySide& c, std::ostream* out) { *out << c.name; }

class RepairAgainstAtomicMachineRepair : public ::testing::TestWithParam<SideBySide> {};

TEST_P(RepairAgainstAtomicMachineRepair, BrokenMachinesAndUtilisationAgree) {
  const SideBySide& c = GetParam();
  std::map<int, SampleStatistics> composed = RunSteadyState(c.composed);
  std::map<int, SampleStatistics> atomic = RunSteadyState(c.atomic);
  for (int variable : {0, 1}) {
    ASSERT_EQ(composed.count(variable), 1u);
    ASSERT_EQ(atomic.count(variable), 1u);
    ConfidenceInterval a = composed.at(variable).Interval(0.99);
    ConfidenceInterval b = atomic.at(variable).Interval(0.99);
    EXPECT_LT(a.halfWidth, 0.03 * composed.at(variable).Mean());
    EXPECT_NEAR(composed.at(variable).Mean(), atomic.at(variable).Mean(), a.halfWidth + b.halfWidth)
        << "variable " << variable;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Experiments, RepairAgainstAtomicMachineRepair,
    ::testing::Values(
        SideBySide{"TwoCrews", {"repair_sim", 2, "", 2000.0, 300, 0, 51}, {"machine_repair_sim", 0, "", 2000.0, 300, 0, 52}},
        SideBySide{"ThreeCrews", {"repair_sim", 3, "", 2000.0, 300, 1, 53}, {"machine_repair_sim", 1, "", 2000.0, 300, 1, 54}}),
    [](const ::testing::TestParamInfo<SideBySide>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Experiments, TandemAgainstGordonNewell,
    ::testing::Values(
        TandemCase{"FourCustomers", {"tandem_sim", 0, "", 1000.0, 300, 0, 41}, 4, {1.0, 2.0, 1.5}},
        TandemCase{"SixCustomers", {"tandem_sim", 1, "", 1000.0, 300, 1, 42}, 6, {1.0, 1.0, 0.8}}),
    [](const ::testing::TestParamInfo<TandemCase>& info) { return std::string(info.param.name); });
