#ifndef TAVRIN_MANAGER_RESULTSWRITER_H
#define TAVRIN_MANAGER_RESULTSWRITER_H

#include <string>
#include <vector>

#include "ExperimentRun.h"

// ResultsWriter: the campaign's results as DIR/results.csv (one row per experiment and
// variable) and DIR/results.json (the same, grouped by experiment), written whole to a
// temporary name and renamed, so a reader never sees half a file.
class ResultsWriter {
 public:
  // Each returns true, or false with the reason in error.
  static bool WriteCsv(const std::string& path, const std::vector<const ExperimentRun*>& runs,
                       double confidence, std::string& error);
  static bool WriteJson(const std::string& path, const std::vector<const ExperimentRun*>& runs,
                        double confidence, std::string& error);
  // The status word of a variable of an experiment, "failed" for every variable of a failed
  // experiment, "all zero" for one that showed only zeros and no study says it is observed.
  static std::string Status(const ExperimentRun& run, const VariableEstimate& e);
  static std::string Number(double value);   // full precision; "inf" and "nan" spelled out
};

#endif
