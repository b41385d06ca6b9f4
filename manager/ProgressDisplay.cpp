#include "ProgressDisplay.h"

#include <cmath>

namespace {

const double kTerminalPeriod = 0.5;   // seconds between redraws of the live table
const double kPlainPeriod = 5.0;      // seconds between plain lines

std::string Duration(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "?";
  char text[32];
  long s = std::lround(seconds);
  if (s < 60) std::snprintf(text, sizeof text, "%lds", s);
  else if (s < 3600) std::snprintf(text, sizeof text, "%ldm%02lds", s / 60, s % 60);
  else std::snprintf(text, sizeof text, "%ldh%02ldm", s / 3600, (s % 3600) / 60);
  return text;
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out, bool terminal, double precision)
    : _out(out), _terminal(terminal), _precision(precision) {}

std::string ProgressDisplay::Row(const Line& line, double precision) {
  const ExperimentRun& run = *line.run;
  char text[256];
  std::string worst = "-";
  std::string left = "?";
  double ratio = run.WorstRatio();
  if (std::isfinite(ratio)) {
    char w[32];
    std::snprintf(w, sizeof w, "%.4f", ratio * precision);
    worst = w;
    int64_t more = run.ObservationsLeft();
    if (more == 0) left = "0s";
    else if (more > 0 && line.rate > 0) left = Duration(static_cast<double>(more) / line.rate);
  }
  std::snprintf(text, sizeof text, "%6d  %-24.24s %12lld %8d   %10s / %-7g %10s  %.24s", run.Number(),
                run.Name().c_str(), static_cast<long long>(run.Observations()), line.clients,
                worst.c_str(), precision, left.c_str(), run.WorstVariableName().c_str());
  return text;
}

void ProgressDisplay::Update(double now, int done, int total, const std::vector<Line>& lines) {
  if (now - _last < (_terminal ? kTerminalPeriod : kPlainPeriod)) return;
  _last = now;
  if (!_terminal) {
    std::fprintf(_out, "tavrin_run: %d of %d experiments done", done, total);
    for (const Line& line : lines) {
      double ratio = line.run->WorstRatio();
      std::fprintf(_out, "; experiment %d: %lld observations, %d clients, worst %s",
                   line.run->Number(), static_cast<long long>(line.run->Observations()),
                   line.clients,
                   std::isfinite(ratio) ? (std::to_string(ratio * _precision)).c_str() : "-");
      std::string name = line.run->WorstVariableName();
      if (!name.empty()) std::fprintf(_out, " (%s)", name.c_str());
    }
    std::fprintf(_out, "\n");
    std::fflush(_out);
    return;
  }
  Clear();
  std::fprintf(_out, "%d of %d experiments done\n", done, total);
  std::fprintf(_out, "%6s  %-24s %12s %8s   %21s %10s  %s\n", "exp", "name", "observations",
               "clients", "worst rel. half-width", "time left", "least precise");
  for (const Line& line : lines) std::fprintf(_out, "%s\n", Row(line, _precision).c_str());
  _drawn = 2 + static_cast<int>(lines.size());
  std::fflush(_out);
}

void ProgressDisplay::Clear() {
  if (!_terminal || _drawn == 0) return;
  std::fprintf(_out, "\033[%dF\033[J", _drawn);
  _drawn = 0;
  std::fflush(_out);
}
