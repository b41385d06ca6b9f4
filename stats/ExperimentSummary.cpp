#include "ExperimentSummary.h"

int ExperimentSummary::Add(const ResultFile& file, std::string& error) {
  if (!FileNames.empty() && file.ExperimentNumber != ExperimentNumber) {
    error = file.Name + ": experiment " + std::to_string(file.ExperimentNumber) + ", but " +
            FileNames.front() + " is of experiment " + std::to_string(ExperimentNumber) +
            ": only the files of one experiment can be summarised together";
    return 1;
  }
  // Two runs with the same seed and generator draw the same numbers: pooling them would
  // count the same batches twice and narrow the intervals without any new information.
  std::string stream = file.Seed.empty() ? "" : file.Seed + "/" + file.Generator;
  for (size_t i = 0; i < Streams.size() && !stream.empty(); i++) {
    if (Streams[i] != stream) continue;
    error = file.Name + ": same seed (" + file.Seed + ") and generator (" + file.Generator +
            ") as " + FileNames[i] + ": its observations repeat that file's, they are not "
            "an independent client";
    return 1;
  }
  if (FileNames.empty()) ExperimentNumber = file.ExperimentNumber;
  FileNames.push_back(file.Name);
  Streams.push_back(stream);
  for (const auto& variable : file.Observations) {
    SampleStatistics& statistics = VariableStatistics[variable.first];
    for (double observation : variable.second) statistics.Add(observation);
  }
  return 0;
}
