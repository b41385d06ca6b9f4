#ifndef TAVRIN_TESTS_VALIDATION_STEADYSTATERUN_H
#define TAVRIN_TESTS_VALIDATION_STEADYSTATERUN_H

#include <map>
#include <string>
#include <vector>

#include "Statistics.h"

// One steady-state run of a model's simulator: how long, and from which random stream.
struct SteadyStateRun {
  std::string program;              // e.g. "mm1k_sim"
  int experiment;
  std::string overrides;            // the -O text without the batch length; may be empty
  double batchLength;               // simulated time per batch, given through -O
  int batches;                      // -N
  int generator;                    // -r
  int seed;                         // -s
};

// Runs the simulator with -t 0 and returns the statistics of every variable of its ASCII
// result file, read and pooled with the summary tool's code. Failures of the run (exit code,
// an override naming no global variable, an unreadable file) are recorded as test failures.
std::map<int, SampleStatistics> RunSteadyState(const SteadyStateRun& run);

// Expects the variable to have the run's number of batches, a 99% Student-t interval whose
// half-width is at most maxRelativeHalfWidth of the analytic value, and the analytic value
// inside that interval.
void ExpectAnalyticValueInside(const std::map<int, SampleStatistics>& variables, int variable,
                               int batches, double analytic, double maxRelativeHalfWidth,
                               const std::string& what);

#endif
