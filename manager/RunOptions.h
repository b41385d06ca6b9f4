#ifndef TAVRIN_MANAGER_RUNOPTIONS_H
#define TAVRIN_MANAGER_RUNOPTIONS_H

#include <set>
#include <string>
#include <utility>
#include <vector>

// RunOptions: what tavrin_run was asked to do, read from its command line.
struct RunOptions {
  std::string simulator;               // path of the simulator executable
  std::string experiments = "all";     // "all" or a list such as "0,2-3"
  bool steadyState = false;
  double precision = 0.05;             // relative half-width
  double confidence = 0.95;
  double absTol = 0.0;                 // 0: relative precision only
  long long minObs = 0;                // per experiment, over all its clients; 0: by run kind
  static const long long MinObsTerminating = 30;
  static const long long MinObsSteadyState = 100;   // batch means
  long long MinObs() const {
    return minObs > 0 ? minObs : steadyState ? MinObsSteadyState : MinObsTerminating;
  }
  long long maxObs = 0;                // 0: no limit
  double maxTime = 0.0;                // wall seconds per experiment; 0: no limit
  int jobs = 0;                        // 0: the number of cores
  unsigned long long seed = 1;
  std::string outDir;                  // empty: a new folder named for the model and time
  std::string resumeDir;
  std::string launcher;                // empty: local processes
  std::vector<std::string> hosts;
  std::string overrides;               // passed to every client as -O
  int reportSize = 0;                  // -n for the clients; 0: chosen by the run kind
  double clientTimeout = 60.0;         // seconds without an announcement or a report
  int maxReplacements = 3;             // per experiment
  int firstPort = 10000;
  bool noPlots = false;
  bool quiet = false;
  std::set<std::string> given;         // the long names of the options on the command line

  // The experiment numbers of the list, in order; numExperiments < 0 means unknown (then
  // "all" cannot be expanded). Returns false with a message on a malformed list.
  bool ExpandExperiments(int numExperiments, std::vector<int>& out, std::string& error) const;
  // The (name, value) pairs of --override, read as the simulator reads them: "letter:name:
  // value" triples, runs of colons counting as one; an incomplete last triple is left out.
  std::vector<std::pair<std::string, std::string>> OverriddenGlobals() const;
};

class RunOptionsParser {
 public:
  static const char* const Usage;
  // 0: parsed; 1: an error, written to error; 2: help asked for.
  static int Parse(int argc, char** argv, RunOptions& out, std::string& error);
};

#endif
