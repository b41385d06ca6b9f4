#include "PlotWriter.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "ResultsWriter.h"

namespace {

std::string FileSafe(const std::string& name) {
  std::string safe;
  for (char c : name) safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '_') ? c : '_';
  return safe;
}

std::string GnuplotString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// gnuplot stops at a data file without a point, and every later plot with it; a plot an
// earlier session drew of the same name would be left showing results no longer held.
void SkipPlot(const std::string& dir, const std::string& base, std::ostream& script) {
  script << "# " << base << ".dat: no interval to plot\n";
  std::remove((dir + "/" + base + ".svg").c_str());
}

bool Finite(const VariableEstimate& e) { return std::isfinite(e.halfWidth) && std::isfinite(e.mean); }

// Estimate against observations for every check of one experiment and variable.
void ExperimentPlot(const ExperimentRun& run, int variable, const std::string& dir,
                    std::ostream& script) {
  std::string base = "experiment" + std::to_string(run.Number()) + "_" +
                     FileSafe(run.VariableName(variable));
  std::ofstream data(dir + "/" + base + ".dat");
  data << "# observations mean lower upper\n";
  int points = 0;
  for (const ExperimentRun::Check& check : run.History())
    for (const VariableEstimate& e : check.estimates)
      if (e.variable == variable && Finite(e)) {
        data << check.observations << " " << ResultsWriter::Number(e.mean) << " "
             << ResultsWriter::Number(e.mean - e.halfWidth) << " "
             << ResultsWriter::Number(e.mean + e.halfWidth) << "\n";
        points++;
      }
  if (points == 0) {
    SkipPlot(dir, base, script);
    return;
  }
  script << "set output " << GnuplotString(base + ".svg") << "\n"
         << "set title " << GnuplotString(run.VariableName(variable) + ", experiment " +
                                          std::to_string(run.Number()) + " (" + run.Name() + ")")
         << "\nset xlabel \"observations\"\nset ylabel \"estimate\"\nset logscale x\n"
         << "plot " << GnuplotString(base + ".dat")
         << " using 1:2:3:4 with yerrorbars title \"estimate and interval\"\n"
         << "unset logscale x\n";
}

std::string Value(const ExperimentRun& run, const std::string& global) {
  for (const auto& g : run.Globals())
    if (g.first == global) return g.second;
  return "";
}

void GlobalPlot(const std::vector<const ExperimentRun*>& runs, int variable,
                const std::string& global, const std::string& dir, std::ostream& script) {
  std::string name = runs.front()->VariableName(variable);
  std::string base = FileSafe(name) + "_against_" + FileSafe(global);
  std::ofstream data(dir + "/" + base + ".dat");
  data << "# " << global << " mean lower upper\n";
  int points = 0;
  for (const ExperimentRun* run : runs)
    for (const VariableEstimate& e : run->Final())
      if (e.variable == variable && Finite(e)) {
        data << Value(*run, global) << " " << ResultsWriter::Number(e.mean) << " "
             << ResultsWriter::Number(e.mean - e.halfWidth) << " "
             << ResultsWriter::Number(e.mean + e.halfWidth) << "\n";
        points++;
      }
  if (points == 0) {
    SkipPlot(dir, base, script);
    return;
  }
  script << "set output " << GnuplotString(base + ".svg") << "\n"
         << "set title " << GnuplotString(name + " against " + global) << "\n"
         << "set xlabel " << GnuplotString(global) << "\nset ylabel \"estimate\"\n"
         << "plot " << GnuplotString(base + ".dat")
         << " using 1:2:3:4 with yerrorbars title \"estimate and interval\"\n";
}

}  // namespace

std::string PlotWriter::VaryingGlobal(const std::vector<const ExperimentRun*>& runs) {
  if (runs.size() < 2) return "";
  std::map<std::string, std::set<std::string>> values;
  for (const ExperimentRun* run : runs)
    for (const auto& g : run->Globals()) values[g.first].insert(g.second);
  std::string varying;
  for (const auto& v : values) {
    if (v.second.size() < 2) continue;
    if (!varying.empty()) return "";
    varying = v.first;
  }
  // Only a numeric global makes an axis.
  for (const std::string& text : values[varying]) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0') return "";
  }
  return varying;
}

bool PlotWriter::Write(const std::string& dir, const std::vector<const ExperimentRun*>& runs,
                       std::string& message) {
  std::string plots = dir + "/plots";
  mkdir(plots.c_str(), 0777);
  std::ofstream script(plots + "/plots.gp");
  script << "set terminal svg size 800,500 dynamic\nset key top right\n";
  bool any = false;
  for (const ExperimentRun* run : runs) {
    for (const VariableEstimate& e : run->Final()) {
      ExperimentPlot(*run, e.variable, plots, script);
      any = true;
    }
  }
  std::string global = VaryingGlobal(runs);
  if (!global.empty())
    for (const VariableEstimate& e : runs.front()->Final()) GlobalPlot(runs, e.variable, global, plots, script);
  script.close();
  if (!any) {
    message = "";
    return false;
  }
  if (!script) {
    message = "cannot write the plot script in " + plots;
    return false;
  }
  std::string command = "cd '" + plots + "' && gnuplot plots.gp > gnuplot.log 2>&1";
  int status = std::system(("command -v gnuplot > /dev/null 2>&1 && " + command).c_str());
  if (status == 0) return true;
  message = "the plots were not drawn (gnuplot missing or failed; see " + plots +
            "/gnuplot.log): draw them with: cd " + plots + " && gnuplot plots.gp";
  return false;
}
