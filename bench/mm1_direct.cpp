// The floor for whole-program throughput: an M/M/1 queue simulated by a plain event-heap
// loop, with no model framework. Usage: mm1_direct [firings] [rho]; prints firings per
// second of processor time, the measure the simulator reports for itself ("CPU time (s): "),
// so the two rates compare on a machine that others share.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <queue>
#include <random>
#include <vector>

namespace {

enum Kind { ARRIVAL, DEPARTURE };

struct Pending {
  double time;
  Kind kind;
  bool operator>(const Pending& other) const { return time > other.time; }
};

}  // namespace

int main(int argc, char** argv) {
  long firings = argc > 1 ? std::atol(argv[1]) : 20000000;
  double rho = argc > 2 ? std::atof(argv[2]) : 0.8;
  const double lambda = rho, mu = 1.0;
  std::mt19937 generator(31415);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  auto exponential = [&](double rate) { return -std::log(1.0 - uniform(generator)) / rate; };

  std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> events;
  long inSystem = 0;
  double now = 0.0, areaUnderN = 0.0;
  events.push({exponential(lambda), ARRIVAL});
  std::clock_t start = std::clock();
  for (long fired = 0; fired < firings; fired++) {
    Pending next = events.top();
    events.pop();
    areaUnderN += inSystem * (next.time - now);
    now = next.time;
    if (next.kind == ARRIVAL) {
      if (inSystem++ == 0) events.push({now + exponential(mu), DEPARTURE});
      events.push({now + exponential(lambda), ARRIVAL});
    } else if (--inSystem > 0) {
      events.push({now + exponential(mu), DEPARTURE});
    }
  }
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  // The mean number in system guards against the loop being optimised away and shows it
  // is the queue it claims to be: rho / (1 - rho) = 4 at rho 0.8.
  std::printf("direct M/M/1: %ld firings in %.3f CPU s, %.0f firings/s, mean number in system %.3f\n",
              firings, seconds, firings / seconds, areaUnderN / now);
  return 0;
}
