#ifndef TAVRIN_MANAGER_PROGRESSDISPLAY_H
#define TAVRIN_MANAGER_PROGRESSDISPLAY_H

#include <cstdio>
#include <string>
#include <vector>

#include "ExperimentRun.h"

// ProgressDisplay: what the user sees while a campaign runs. On a terminal, a table
// redrawn in place with a line per running experiment: observations, clients, the least
// precise variable's half-width against the target, and the time left estimated from
// n((h/h*)^2 - 1) more observations at the measured rate. Elsewhere (a log file, a pipe),
// a plain line every few seconds.
class ProgressDisplay {
 public:
  struct Line {
    const ExperimentRun* run;
    int clients;
    double rate;   // observations per second so far
  };

  ProgressDisplay(std::FILE* out, bool terminal, double precision);
  // Shows the state if its time has come (now in seconds).
  void Update(double now, int done, int total, const std::vector<Line>& lines);
  void Clear();   // removes the live table before the final messages
  static std::string Row(const Line& line, double precision);

 private:
  std::FILE* _out;
  bool _terminal;
  double _precision;
  double _last = -1e9;
  int _drawn = 0;   // lines of the table on the screen
};

#endif
