// manager_coverage [campaigns] [bin dir] [kinds] [extra options]: how often the intervals of tavrin_run hold the
// true value. Runs independent campaigns (seeds 1..campaigns) of experiment 1 of mm1k_sim
// (lambda 0.8, mu 1, K 10) at 95% confidence and 5% relative precision, terminating (over
// [0, 100]) and steady-state, and prints per variable the fraction of intervals that contain
// the exact value, with its own 95% Clopper-Pearson interval. kinds is "both" (default),
// "terminating" or "steady"; extra options are passed to every campaign. Not a test: a
// measurement.

#include <unistd.h>

#include <boost/math/distributions/beta.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kLambda = 0.8, kMu = 1.0, kHorizon = 100.0;
const int kK = 10;

// Transient distribution of the M/M/1/K chain started empty, by fourth-order Runge-Kutta on
// its forward equations, integrating E[N(t)] and P(N(t) > 0) over [0, T].
void TransientIntegrals(double T, double& meanNumber, double& departures) {
  std::vector<double> p(kK + 1, 0.0);
  p[0] = 1.0;
  auto derivative = [](const std::vector<double>& q) {
    std::vector<double> d(kK + 1, 0.0);
    for (int n = 0; n <= kK; n++) {
      if (n < kK) { d[n] -= kLambda * q[n]; d[n + 1] += kLambda * q[n]; }
      if (n > 0) { d[n] -= kMu * q[n]; d[n - 1] += kMu * q[n]; }
    }
    return d;
  };
  auto integrand = [](const std::vector<double>& q, double& number, double& busy) {
    number = 0.0;
    for (int n = 0; n <= kK; n++) number += n * q[n];
    busy = 1.0 - q[0];
  };
  const int steps = 200000;
  double h = T / steps, areaNumber = 0.0, areaBusy = 0.0;
  for (int s = 0; s < steps; s++) {
    std::vector<double> k1 = derivative(p), tmp(kK + 1);
    for (int n = 0; n <= kK; n++) tmp[n] = p[n] + h / 2 * k1[n];
    std::vector<double> k2 = derivative(tmp);
    for (int n = 0; n <= kK; n++) tmp[n] = p[n] + h / 2 * k2[n];
    std::vector<double> k3 = derivative(tmp);
    for (int n = 0; n <= kK; n++) tmp[n] = p[n] + h * k3[n];
    std::vector<double> k4 = derivative(tmp);
    double n0, b0, n1, b1;
    integrand(p, n0, b0);
    for (int n = 0; n <= kK; n++) p[n] += h / 6 * (k1[n] + 2 * k2[n] + 2 * k3[n] + k4[n]);
    integrand(p, n1, b1);
    areaNumber += h / 2 * (n0 + n1);   // trapezoid: the step is small enough
    areaBusy += h / 2 * (b0 + b1);
  }
  meanNumber = areaNumber / T;
  departures = kMu * areaBusy;
}

std::map<int, double> SteadyStateValues() {
  double rho = kLambda / kMu, sum = 0.0, number = 0.0;
  std::vector<double> w(kK + 1);
  for (int n = 0; n <= kK; n++) sum += (w[n] = std::pow(rho, n));
  for (int n = 0; n <= kK; n++) number += n * w[n] / sum;
  return {{0, number}, {1, 1 - w[0] / sum}, {2, kMu * (1 - w[0] / sum)}, {3, w[kK] / sum}};
}

std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> header;
  std::vector<std::map<std::string, std::string>> rows;
  auto split = [](const std::string& l) {
    std::vector<std::string> f;
    std::stringstream s(l);
    std::string x;
    while (std::getline(s, x, ',')) f.push_back(x);
    return f;
  };
  if (!std::getline(in, line)) return rows;
  header = split(line);
  while (std::getline(in, line)) {
    std::vector<std::string> f = split(line);
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < header.size() && i < f.size(); i++) row[header[i]] = f[i];
    rows.push_back(row);
  }
  return rows;
}

struct Tally {
  int covered = 0, total = 0;
};

void PrintFraction(const char* what, const Tally& t) {
  double alpha = 0.05;
  double lower = t.covered == 0 ? 0.0
                                : boost::math::quantile(boost::math::beta_distribution<>(t.covered, t.total - t.covered + 1), alpha / 2);
  double upper = t.covered == t.total ? 1.0
                                      : boost::math::quantile(boost::math::beta_distribution<>(t.covered + 1, t.total - t.covered), 1 - alpha / 2);
  std::printf("  %-28s %4d / %4d = %.3f   95%% interval [%.3f, %.3f]\n", what, t.covered, t.total,
              static_cast<double>(t.covered) / t.total, lower, upper);
}

}  // namespace

int main(int argc, char** argv) {
  int campaigns = argc > 1 ? std::atoi(argv[1]) : 200;
  std::string bin = argc > 2 ? argv[2] : "build/bin";
  std::string kinds = argc > 3 ? argv[3] : "both";
  std::string extra = argc > 4 ? std::string(" ") + argv[4] : "";
  char dirTemplate[] = "/tmp/tavrin_coverage_XXXXXX";
  std::string work = mkdtemp(dirTemplate);
  double meanNumber = 0, departures = 0;
  TransientIntegrals(kHorizon, meanNumber, departures);
  std::map<int, double> exact[2] = {{{4, meanNumber}, {5, departures}}, SteadyStateValues()};
  const char* names[6] = {"NumberInSystem", "Utilization", "Throughput", "Blocking",
                          "MeanNumberInSystem", "Departures"};
  std::printf("Exact values: terminating over [0, %g] from empty: mean number %.6f, departures %.6f\n",
              kHorizon, meanNumber, departures);
  for (int kind = 0; kind < 2; kind++) {
    if ((kind == 0 && kinds == "steady") || (kind == 1 && kinds == "terminating")) continue;
    std::map<int, Tally> perVariable;
    Tally all, notMet;
    long long observations = 0;
    auto start = std::chrono::steady_clock::now();
    for (int c = 1; c <= campaigns; c++) {
      std::string out = work + "/" + std::to_string(kind) + "_" + std::to_string(c);
      std::string command = bin + "/tavrin_run " + bin + "/mm1k_sim --experiments 1 --precision 0.05 "
                            "--confidence 0.95 --jobs 2 --no-plots --quiet --seed " + std::to_string(c) +
                            " --port " + std::to_string(41000 + 200 * (c % 50)) + " --out " + out +
                            (kind == 0 ? " --terminating --override d:horizon:100" : " --steady-state") + extra +
                            " > /dev/null 2>&1";
      int status = std::system(command.c_str());
      for (const auto& row : ReadCsv(out + "/results.csv")) {
        int v = std::stoi(row.at("variable"));
        if (!exact[kind].count(v)) continue;
        double mean = std::stod(row.at("mean")), half = std::stod(row.at("halfwidth"));
        bool inside = mean - half <= exact[kind][v] && exact[kind][v] <= mean + half;
        perVariable[v].covered += inside;
        perVariable[v].total++;
        all.covered += inside;
        all.total++;
        notMet.total++;
        notMet.covered += row.at("status") != "met";
        observations += std::stoll(row.at("observations"));
      }
      if (status != 0 && WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "campaign %d (%s) ended with status %d\n", c, kind == 0 ? "terminating" : "steady",
                     WEXITSTATUS(status));
      std::system(("rm -rf " + out).c_str());
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s, %d campaigns (%.1f s, %.2f s per campaign, %.0f observations per variable on average, %d not met):\n",
                kind == 0 ? "Terminating" : "Steady state", campaigns, seconds, seconds / campaigns,
                all.total ? static_cast<double>(observations) / all.total : 0.0, notMet.covered);
    for (const auto& v : perVariable) PrintFraction(names[v.first], v.second);
    PrintFraction("all variables", all);
    std::fflush(stdout);
  }
  std::system(("rm -rf " + work).c_str());
  return 0;
}
