// The cost of a composed model generated from a model file: bench/queues/queues.toml, N
// copies of an M/M/1/K queue (a replicated submodel) with a reward summing every queue's
// length, one worker per copy. The simulator is built from a command line as the program
// builds it (the number of copies is the global N, given through -O), in one process per
// figure so that its peak memory is its own. Prints one line of name=value pairs:
//   replicas, mode, setup_s (CPU seconds to build the simulator: study, reward model,
//   composed model, connectivity list, event list), rss_kb (resident memory it added),
//   bytes_per_replica, peak_kb, firings, ns_per_firing (CPU time of the timed steps, after
//   a warm-up of a quarter as many).
// Modes: plain (a terminating run, which leaves the steady-state sum out: the model and the
// engine alone), reward (a steady-state run, which accumulates the sum).
// Usage: composed_file_bench <replicas> <firings> <plain|reward>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "BenchProcess.h"
#include "platform/CPUTime.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1 || std::atol(argv[2]) < 1 ||
      (std::strcmp(argv[3], "plain") != 0 && std::strcmp(argv[3], "reward") != 0)) {
    std::cerr << "usage: composed_file_bench <replicas> <firings> <plain|reward>" << std::endl;
    return 2;
  }
  int replicas = std::atoi(argv[1]);
  long firings = std::atol(argv[2]);
  bool reward = std::strcmp(argv[3], "reward") == 0;

  std::string count = "i:N:" + std::to_string(replicas) + ":d:horizon:1e15";
  static char program[] = "composed_file_bench";
  static char batches[] = "-N";
  static char one[] = "1";
  static char type[] = "-t";
  static char terminating[] = "1";
  static char steady[] = "0";
  static char override[] = "-O";
  long before = ResidentKilobytes();
  CPUTime setup;
  setup.Start();
  SimulatorClass* sim = MakeSimulator({program, batches, one, type, reward ? steady : terminating, override,
                                       count.data()});
  StartRun(sim);
  double setupSeconds = setup.GetTime();
  long after = ResidentKilobytes();
  TakeFirstEvent(sim);
  Steps(sim, firings / 4);   // warm-up: the queues leave their empty start
  CPUTime run;
  run.Start();
  Steps(sim, firings);
  double runSeconds = run.GetTime();
  std::printf(
      "replicas=%d mode=%s setup_s=%.3f rss_kb=%ld bytes_per_replica=%.0f peak_kb=%ld firings=%ld "
      "ns_per_firing=%.1f\n",
      replicas, argv[3], setupSeconds, after - before, 1024.0 * static_cast<double>(after - before) / replicas,
      PeakKilobytes(), firings, 1e9 * runSeconds / static_cast<double>(firings));
  std::fflush(stdout);
  // The process ends here: tearing down 100000 copies is not what is measured.
  std::_Exit(0);
}
