// tavrin_run SIMULATOR [options]: runs every experiment of a study with parallel clients of
// the simulator until each reward variable's confidence interval reaches the requested
// precision, keeping everything received in DIR/campaign.sqlite and writing DIR/results.csv,
// DIR/results.json and DIR/plots.

#include <signal.h>

#include <iostream>
#include <string>

#include "Campaign.h"
#include "RunOptions.h"

namespace {

void OnStopSignal(int signal) { Campaign::RequestStop(signal); }

void InstallSignals() {
  struct sigaction stop {};
  stop.sa_handler = OnStopSignal;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);
  sigaction(SIGHUP, &stop, nullptr);
  // A client that has gone must fail a send, and a file too large for its limit must fail a
  // write, not end the manager before it has written its results.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  RunOptions options;
  std::string error;
  int parsed = RunOptionsParser::Parse(argc, argv, options, error);
  if (parsed == 2) {
    std::cout << RunOptionsParser::Usage;
    return 0;
  }
  if (parsed != 0) {
    std::cerr << error << std::endl;
    return 2;
  }
  InstallSignals();
  Campaign campaign(options);
  return campaign.Run();
}
