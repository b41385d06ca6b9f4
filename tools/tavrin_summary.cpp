// tavrin_summary [--csv] FILE...: the statistics of each variable over the result files of
// the clients of one experiment: observations, mean, sample variance and the 95% and 99%
// Student-t confidence intervals, as a table or as CSV.

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ExperimentSummary.h"
#include "ResultFileReader.h"

namespace {

const char kUsage[] = "usage: tavrin_summary [--csv] FILE...";
const double kLevels[2] = {0.95, 0.99};

std::string Number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

// CSV carries every digit, so a program reading it gets back the values computed here.
void PrintCsv(const ExperimentSummary& summary) {
  std::cout << "variable,observations,mean,variance,halfwidth95,lower95,upper95,halfwidth99,"
               "lower99,upper99\n";
  for (const auto& variable : summary.Variables()) {
    const SampleStatistics& s = variable.second;
    std::cout << variable.first << "," << s.Count() << "," << Number("%.17g", s.Mean()) << ","
              << Number("%.17g", s.Variance());
    for (double level : kLevels) {
      ConfidenceInterval ci = s.Interval(level);
      std::cout << "," << Number("%.17g", ci.halfWidth) << "," << Number("%.17g", ci.lower) << ","
                << Number("%.17g", ci.upper);
    }
    std::cout << "\n";
  }
}

// Eight significant digits: enough to read a mean against its interval at a glance.
void PrintTable(const ExperimentSummary& summary) {
  char line[256];
  std::cout << "Experiment " << summary.Experiment() << ", " << summary.NumFiles()
            << (summary.NumFiles() == 1 ? " file\n" : " files\n");
  std::snprintf(line, sizeof(line), "%8s %12s %16s %16s  %-36s  %s", "variable",
                "observations", "mean", "variance", "95% interval", "99% interval");
  std::cout << line << "\n";
  for (const auto& variable : summary.Variables()) {
    const SampleStatistics& s = variable.second;
    std::snprintf(line, sizeof(line), "%8d %12lld %16.8g %16.8g", variable.first,
                  static_cast<long long>(s.Count()), s.Mean(), s.Variance());
    std::cout << line;
    for (double level : kLevels) {
      ConfidenceInterval ci = s.Interval(level);
      std::string interval = "[" + Number("%.8g", ci.lower) + ", " + Number("%.8g", ci.upper) + "]";
      bool last = level == kLevels[1];
      std::snprintf(line, sizeof(line), last ? "  %s" : "  %-36s", interval.c_str());
      std::cout << line;
    }
    std::cout << "\n";
  }
}

int Summarise(int argc, char** argv) {
  bool csv = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; i++) {
    std::string word = argv[i];
    if (word == "--csv") {
      csv = true;
    } else if (word.size() > 1 && word[0] == '-') {
      std::cerr << "tavrin_summary: unknown option " << word << "\n" << kUsage << std::endl;
      return 2;
    } else {
      paths.push_back(word);
    }
  }
  if (paths.empty()) {
    std::cerr << kUsage << std::endl;
    return 2;
  }
  ExperimentSummary summary;
  size_t warned = 0;   // the summary's warnings shown so far
  for (const std::string& path : paths) {
    ResultFile file;
    std::string error;
    if (ResultFileReader::Read(path, file, error) != 0 || summary.Add(file, error) != 0) {
      std::cerr << "tavrin_summary: " << error << std::endl;
      return 1;
    }
    for (const std::string& warning : file.Warnings)
      std::cerr << "tavrin_summary: warning: " << path << ": " << warning << std::endl;
    for (; warned < summary.Warnings().size(); warned++)
      std::cerr << "tavrin_summary: warning: " << summary.Warnings()[warned] << std::endl;
  }
  // Values near the largest double overflow the sums: the mean or variance would come out
  // infinite or not a number, which is no statistic of them.
  for (const auto& variable : summary.Variables()) {
    if (std::isfinite(variable.second.Mean()) && std::isfinite(variable.second.Variance()))
      continue;
    std::cerr << "tavrin_summary: variable " << variable.first
              << ": its observations are too large for a finite mean and variance" << std::endl;
    return 1;
  }
  if (csv)
    PrintCsv(summary);
  else
    PrintTable(summary);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "tavrin_summary: cannot write the summary to the standard output" << std::endl;
    return 1;
  }
  return 0;
}

}  // namespace

// Whatever goes wrong (a file too large for memory, say) ends with a message, not an abort.
int main(int argc, char** argv) {
  try {
    return Summarise(argc, argv);
  } catch (const std::exception& failure) {
    std::cerr << "tavrin_summary: " << failure.what() << std::endl;
    return 1;
  }
}
