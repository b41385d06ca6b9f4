#include "ExperimentSummary.h"

#include <algorithm>
#include <cmath>

namespace {

// Enough observations to tell two runs apart: runs of one stream agree on every one of
// them, runs of other models or parameters differ within the first batches.
const size_t kObservationsCompared = 64;

// The ASCII file writes ten decimals, so its values differ from the binary file's of the
// same run by up to half of 1e-10, and by the rounding of reading them back.
bool SameObservation(double a, double b) {
  double largest = std::max(std::fabs(a), std::fabs(b));
  return std::fabs(a - b) <= 1e-10 + 1e-15 * largest;
}

}  // namespace

// The same seed and generator draw the same numbers, but only the same model with the same
// parameters turns them into the same observations: every variable both files observe
// agrees on the observations both hold, and at least one of them is not a zero (the
// variables a run does not observe hold zeros in every model).
bool ExperimentSummary::ObservationsRepeat(const AddedFile& earlier, const ResultFile& file) {
  bool informative = false;
  for (const auto& variable : file.Observations) {
    auto kept = earlier.FirstObservations.find(variable.first);
    if (kept == earlier.FirstObservations.end()) continue;
    size_t n = std::min(kept->second.size(), variable.second.size());
    for (size_t i = 0; i < n; i++) {
      double a = kept->second[i], b = variable.second[i];
      if (!SameObservation(a, b)) return false;
      if (std::max(std::fabs(a), std::fabs(b)) > 1e-9) informative = true;
    }
  }
  return informative;
}

int ExperimentSummary::Add(const ResultFile& file, std::string& error) {
  if (!Files.empty() && file.ExperimentNumber != ExperimentNumber) {
    error = file.Name + ": experiment " + std::to_string(file.ExperimentNumber) + ", but " +
            Files.front().Name + " is of experiment " + std::to_string(ExperimentNumber) +
            ": only the files of one experiment can be summarised together";
    return 1;
  }
  // Two runs with the same seed and generator draw the same numbers: pooling two files of
  // one stream would count the same batches twice and narrow the intervals without any new
  // information.
  std::string stream = file.Seed.empty() ? "" : file.Seed + "/" + file.Generator;
  std::vector<std::string> warnings;
  for (const AddedFile& earlier : Files) {
    if (stream.empty() || earlier.Stream != stream) continue;
    std::string same = file.Name + ": same seed (" + file.Seed + ") and generator (" +
                       file.Generator + ") as " + earlier.Name;
    if (ObservationsRepeat(earlier, file)) {
      error = same + ": its observations repeat that file's, they are not an independent client";
      return 1;
    }
    warnings.push_back(same + ", but other observations (another model, or other "
                              "parameters): the two runs drew the same random numbers, so "
                              "they are not independent of each other");
  }
  if (Files.empty()) ExperimentNumber = file.ExperimentNumber;
  AddedFile added{file.Name, stream, {}};
  for (const auto& variable : file.Observations) {
    size_t n = std::min(kObservationsCompared, variable.second.size());
    added.FirstObservations[variable.first].assign(variable.second.begin(),
                                                   variable.second.begin() + n);
    SampleStatistics& statistics = VariableStatistics[variable.first];
    for (double observation : variable.second) statistics.Add(observation);
  }
  Files.push_back(std::move(added));
  SummaryWarnings.insert(SummaryWarnings.end(), warnings.begin(), warnings.end());
  return 0;
}
