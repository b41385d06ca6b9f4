#ifndef TAVRIN_STATS_EXPERIMENTSUMMARY_H
#define TAVRIN_STATS_EXPERIMENTSUMMARY_H

#include <map>
#include <string>
#include <vector>

#include "ResultFile.h"
#include "Statistics.h"

// ExperimentSummary: pools the result files of the clients of one experiment into the
// statistics of each variable. Pooling is only sound for independent runs of the same
// experiment, so a file of another experiment, or one whose observations repeat those of a
// file already added with the same seed and generator (the ASCII and binary file of one
// run, or the same run made twice), is refused. A file with the same seed and generator as
// an earlier one but other observations (another model, or other parameters) is added, with
// a warning.
class ExperimentSummary {
 public:
  // Returns 0 when the file's observations were added, 1 with the reason in error (naming
  // the file, and the earlier file it clashes with) when they were not.
  int Add(const ResultFile& file, std::string& error);

  int NumFiles() const { return static_cast<int>(Files.size()); }
  unsigned int Experiment() const { return ExperimentNumber; }
  // Per variable index, in increasing order.
  const std::map<int, SampleStatistics>& Variables() const { return VariableStatistics; }
  // What was added with a doubt, one text per warning, each beginning with the file's name.
  const std::vector<std::string>& Warnings() const { return SummaryWarnings; }

 private:
  // What is kept of a file added, to tell whether a later one repeats its random stream.
  struct AddedFile {
    std::string Name;
    std::string Stream;   // "seed/generator"; empty when the file gives no seed
    std::map<int, std::vector<double>> FirstObservations;   // per variable, the first few
  };
  static bool ObservationsRepeat(const AddedFile& earlier, const ResultFile& file);

  unsigned int ExperimentNumber = 0;
  std::vector<AddedFile> Files;
  std::map<int, SampleStatistics> VariableStatistics;
  std::vector<std::string> SummaryWarnings;
};

#endif
