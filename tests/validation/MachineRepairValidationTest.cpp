#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "SteadyStateRun.h"

// The machine-repair model in steady state against its birth-death chain. With n the number
// of machines not running (waiting or in repair), machines fail at (N - n) lambda and
// repairs complete at min(n, c) mu; a repair that fails (probability q) puts its machine
// back in the queue, where a crew takes it at once, so n falls at min(n, c) mu (1 - q):
//   p_n proportional to prod_{k=1..n} (N - k + 1) lambda / (min(k, c) mu (1 - q)),
// broken machines sum n p_n, crew utilisation sum min(n, c) p_n / c, and completed repairs
// (failed ones included) mu sum min(n, c) p_n per unit of time. The failure and repair
// rates depend on the marking, so these hold only if reactivation resamples them; the
// failed-repair case is what separates mu (1 - q) from mu.

namespace {

const int kBrokenMachines = 0;
const int kCrewUtilization = 1;
const int kRepairCompletions = 2;

const double kMaxRelativeHalfWidth = 0.03;

struct RepairMeasures {
  double broken;
  double utilization;
  double completions;
};

RepairMeasures BirthDeath(int N, int c, double lambda, double mu, double q) {
  std::vector<double> weight(N + 1, 1.0);
  for (int n = 1; n <= N; n++)
    weight[n] = weight[n - 1] * (N - n + 1) * lambda / (std::min(n, c) * mu * (1.0 - q));
  double sum = 0.0;
  for (double w : weight) sum += w;
  RepairMeasures m{0.0, 0.0, 0.0};
  for (int n = 0; n <= N; n++) {
    double p = weight[n] / sum;
    m.broken += n * p;
    m.utilization += std::min(n, c) * p / c;
    m.completions += std::min(n, c) * mu * p;
  }
  return m;
}

struct RepairCase {
  const char* name;
  SteadyStateRun run;
  int N, c;   // the experiment's values in the study
  double lambda, mu, q;
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

class MachineRepairAgainstBirthDeath : public ::testing::TestWithParam<RepairCase> {};

}  // namespace

TEST(MachineRepairBirthDeath, OneMachineOneCrewIsTheTwoStateChain) {
  // Up with probability mu' / (lambda + mu'), mu' = mu (1 - q).
  RepairMeasures m = BirthDeath(1, 1, 0.5, 2.0, 0.5);
  EXPECT_NEAR(m.broken, 0.5 / 1.5, 1e-12);
  EXPECT_NEAR(m.utilization, 0.5 / 1.5, 1e-12);
  EXPECT_NEAR(m.completions, 2.0 * 0.5 / 1.5, 1e-12);
}

TEST_P(MachineRepairAgainstBirthDeath, BrokenMachinesUtilisationAndRepairsHoldTheAnalyticValues) {
  const RepairCase& c = GetParam();
  RepairMeasures expected = BirthDeath(c.N, c.c, c.lambda, c.mu, c.q);
  std::map<int, SampleStatistics> variables = RunSteadyState(c.run);
  int n = c.run.batches;
  ExpectAnalyticValueInside(variables, kBrokenMachines, n, expected.broken, kMaxRelativeHalfWidth,
                            "broken machines");
  ExpectAnalyticValueInside(variables, kCrewUtilization, n, expected.utilization, kMaxRelativeHalfWidth,
                            "crew utilisation");
  ExpectAnalyticValueInside(variables, kRepairCompletions, n, expected.completions, kMaxRelativeHalfWidth,
                            "repair completions");
}

// Batches of 2000 time units are some hundreds of failure times; each run takes a fraction
// of a second. The third case makes repairs fail often, through an override.
INSTANTIATE_TEST_SUITE_P(
    Experiments, MachineRepairAgainstBirthDeath,
    ::testing::Values(
        RepairCase{"TwoCrews", {"machine_repair_sim", 0, "", 2000.0, 400, 0, 41}, 10, 2, 0.1, 0.5, 0.2},
        RepairCase{"ThreeCrews", {"machine_repair_sim", 1, "", 2000.0, 400, 1, 42}, 10, 3, 0.1, 0.5, 0.2},
        RepairCase{"HalfTheRepairsFail",
                   {"machine_repair_sim", 1, "d:q:0.5", 2000.0, 400, 2, 43}, 10, 3, 0.1, 0.5, 0.5}),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return std::string(info.param.name); });
