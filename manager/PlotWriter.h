#ifndef TAVRIN_MANAGER_PLOTWRITER_H
#define TAVRIN_MANAGER_PLOTWRITER_H

#include <string>
#include <vector>

#include "ExperimentRun.h"

// PlotWriter: the campaign's plots, drawn by gnuplot as SVG in DIR/plots: per experiment,
// each variable's estimate with its interval against the number of observations at every
// check; and, when the experiments run differ in exactly one global variable, each variable
// against that global with interval bars. The data and the gnuplot script are written
// first, so without gnuplot they can still be drawn by hand.
class PlotWriter {
 public:
  // Writes the data and the script into dir and runs gnuplot (the command gnuplot, found on
  // the PATH). Returns true when the plots were drawn; otherwise message says why and how
  // to draw them (an empty message: nothing to plot).
  static bool Write(const std::string& dir, const std::vector<const ExperimentRun*>& runs,
                    std::string& message);
  // The one global whose value differs between the runs, or "" when none or several do.
  static std::string VaryingGlobal(const std::vector<const ExperimentRun*>& runs);
};

#endif
