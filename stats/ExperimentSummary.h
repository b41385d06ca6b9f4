#ifndef TAVRIN_STATS_EXPERIMENTSUMMARY_H
#define TAVRIN_STATS_EXPERIMENTSUMMARY_H

#include <map>
#include <string>
#include <vector>

#include "ResultFile.h"
#include "Statistics.h"

// ExperimentSummary: pools the result files of the clients of one experiment into the
// statistics of each variable. Pooling is only sound for independent runs of the same
// experiment, so a file of another experiment, or one that repeats the random stream of a
// file already added (same seed and generator), is refused.
class ExperimentSummary {
 public:
  // Returns 0 when the file's observations were added, 1 with the reason in error (naming
  // the file, and the earlier file it clashes with) when they were not.
  int Add(const ResultFile& file, std::string& error);

  int NumFiles() const { return static_cast<int>(FileNames.size()); }
  unsigned int Experiment() const { return ExperimentNumber; }
  // Per variable index, in increasing order.
  const std::map<int, SampleStatistics>& Variables() const { return VariableStatistics; }

 private:
  unsigned int ExperimentNumber = 0;
  std::vector<std::string> FileNames;
  std::vector<std::string> Streams;   // "seed/generator" of each file added, in order
  std::map<int, SampleStatistics> VariableStatistics;
};

#endif
