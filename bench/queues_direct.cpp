// The plain event loop the simulator is measured against: N independent M/M/1/K queues
// (N = 1 is the M/M/1/K queue) in one std::priority_queue, drawn from std::mt19937_64, with
// the simulator's two rewards about the first queue (its time-averaged length and its
// departures per unit of time) and its enabling rule (no arrival is pending while a queue
// is full; it is drawn afresh when the queue has room again).
// Usage: queues_direct N K horizon [rho]; prints the firings, the processor seconds of the
// loop (the measure the simulator reports as "CPU time (s): ") and the two rewards.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <queue>
#include <random>
#include <vector>

namespace {

struct Pending {
  double time;
  int queue;
  bool arrival;
  bool operator>(const Pending& other) const { return time > other.time; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: queues_direct N K horizon [rho]\n");
    return 2;
  }
  const int n = std::atoi(argv[1]);
  const int k = std::atoi(argv[2]);
  const double horizon = std::atof(argv[3]);
  const double lambda = argc > 4 ? std::atof(argv[4]) : 0.8, mu = 1.0;
  if (n < 1 || k < 1 || !(horizon > 0)) {
    std::fprintf(stderr, "queues_direct: N and K must be at least 1, horizon positive\n");
    return 2;
  }
  std::mt19937_64 generator(31415);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  auto exponential = [&](double rate) { return -std::log(1.0 - uniform(generator)) / rate; };

  std::clock_t start = std::clock();
  std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> events;
  std::vector<int> inSystem(n, 0);
  for (int q = 0; q < n; q++) events.push({exponential(lambda), q, true});
  double now = 0.0, areaUnderFirst = 0.0, firstSince = 0.0;
  long fired = 0, firstDepartures = 0;
  while (!events.empty() && events.top().time <= horizon) {
    Pending next = events.top();
    events.pop();
    now = next.time;
    if (next.queue == 0) {
      areaUnderFirst += inSystem[0] * (now - firstSince);
      firstSince = now;
    }
    fired++;
    int& length = inSystem[next.queue];
    if (next.arrival) {
      if (length++ == 0) events.push({now + exponential(mu), next.queue, false});
      if (length < k) events.push({now + exponential(lambda), next.queue, true});
    } else {
      if (next.queue == 0) firstDepartures++;
      if (length-- == k) events.push({now + exponential(lambda), next.queue, true});
      if (length > 0) events.push({now + exponential(mu), next.queue, false});
    }
  }
  // The first queue's area is brought up to the horizon, as the simulator ends its batch.
  areaUnderFirst += inSystem[0] * (horizon - firstSince);
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  std::printf("Actions fired: %ld\n", fired);
  std::printf("CPU time (s): %g\n", seconds);
  std::printf("QueueLength0: %.6f\nThroughput0: %.6f\n", areaUnderFirst / horizon,
              firstDepartures / horizon);
  return 0;
}
