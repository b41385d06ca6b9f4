#include "RunOptions.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

const char* const RunOptionsParser::Usage =
    "usage: tavrin_run SIMULATOR [options]\n"
    "  --experiments LIST|all   experiments to run, e.g. 0,2-3 (default all; needs\n"
    "                           SIMULATOR.study.json, else a list is required)\n"
    "  --terminating            terminating replications (default)\n"
    "  --steady-state           steady-state batch means\n"
    "  --precision X            target relative half-width (default 0.05)\n"
    "  --confidence X           confidence level (default 0.95)\n"
    "  --abs-tol X              also accept a half-width at most X (means near 0)\n"
    "  --min-obs N              observations before the first stopping decision (default\n"
    "                           30 replications, or 100 batch means in steady state)\n"
    "  --max-obs N              stop an experiment at N observations, precision or not\n"
    "  --max-time S             stop an experiment after S seconds, precision or not\n"
    "  --jobs N                 clients at once over all experiments (default: cores)\n"
    "  --seed N                 campaign seed; client seeds derive from it (default 1)\n"
    "  --out DIR                results folder (default MODEL-YYYYmmdd-HHMMSS)\n"
    "  --resume DIR             continue the campaign held in DIR\n"
    "  --launcher CMD           start clients through CMD, e.g. 'ssh {host}' or\n"
    "                           'srun --nodes=1 --ntasks=1 --exclusive'\n"
    "  --hosts H1,H2,...        hosts for a launcher with {host}, used in turn\n"
    "  --override TEXT          global variable overrides passed to every client as -O\n"
    "  --report-size N          observations per report from a client (-n)\n"
    "  --client-timeout S       seconds a client may stay silent (default 60)\n"
    "  --max-replacements N     replacement clients per experiment (default 3)\n"
    "  --port N                 first port the clients try (default 10000)\n"
    "  --no-plots               write no plots\n"
    "  --quiet                  no progress display\n";

namespace {

enum LongOption {
  kExperiments = 256, kTerminating, kSteadyState, kPrecision, kConfidence, kAbsTol, kMinObs,
  kMaxObs, kMaxTime, kJobs, kSeed, kOut, kResume, kLauncher, kHosts, kOverride, kReportSize,
  kClientTimeout, kMaxReplacements, kPort, kNoPlots, kQuiet, kHelp
};

const option kOptions[] = {
    {"experiments", required_argument, nullptr, kExperiments},
    {"terminating", no_argument, nullptr, kTerminating},
    {"steady-state", no_argument, nullptr, kSteadyState},
    {"precision", required_argument, nullptr, kPrecision},
    {"confidence", required_argument, nullptr, kConfidence},
    {"abs-tol", required_argument, nullptr, kAbsTol},
    {"min-obs", required_argument, nullptr, kMinObs},
    {"max-obs", required_argument, nullptr, kMaxObs},
    {"max-time", required_argument, nullptr, kMaxTime},
    {"jobs", required_argument, nullptr, kJobs},
    {"seed", required_argument, nullptr, kSeed},
    {"out", required_argument, nullptr, kOut},
    {"resume", required_argument, nullptr, kResume},
    {"launcher", required_argument, nullptr, kLauncher},
    {"hosts", required_argument, nullptr, kHosts},
    {"override", required_argument, nullptr, kOverride},
    {"report-size", required_argument, nullptr, kReportSize},
    {"client-timeout", required_argument, nullptr, kClientTimeout},
    {"max-replacements", required_argument, nullptr, kMaxReplacements},
    {"port", required_argument, nullptr, kPort},
    {"no-plots", no_argument, nullptr, kNoPlots},
    {"quiet", no_argument, nullptr, kQuiet},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0}};

bool ReadDouble(const char* text, double& out) {
  char* end = nullptr;
  errno = 0;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && errno == 0;
}

bool ReadInteger(const char* text, long long& out) {
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && errno == 0;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ','))
    if (!item.empty()) items.push_back(item);
  return items;
}

// Checks one option's value; false with the message in error.
bool Apply(int code, const char* value, RunOptions& o, std::string& error) {
  double d = 0.0;
  long long n = 0;
  std::string name;
  for (const option& opt : kOptions)
    if (opt.val == code) name = std::string("--") + opt.name;
  o.given.insert(name.substr(2));
  auto bad = [&](const char* what) {
    error = "tavrin_run: " + name + " needs " + what + ", not '" + (value ? value : "") + "'";
    return false;
  };
  switch (code) {
    case kExperiments: o.experiments = value; return true;
    case kTerminating: o.steadyState = false; return true;
    case kSteadyState: o.steadyState = true; return true;
    case kPrecision:
      if (!ReadDouble(value, d) || !(d > 0.0 && d < 1.0)) return bad("a number between 0 and 1");
      o.precision = d;
      return true;
    case kConfidence:
      if (!ReadDouble(value, d) || !(d > 0.0 && d < 1.0)) return bad("a number between 0 and 1");
      o.confidence = d;
      return true;
    case kAbsTol:
      if (!ReadDouble(value, d) || !(d >= 0.0)) return bad("a number of at least 0");
      o.absTol = d;
      return true;
    case kMinObs:
      if (!ReadInteger(value, n) || n < 2) return bad("a whole number of at least 2");
      o.minObs = n;
      return true;
    case kMaxObs:
      if (!ReadInteger(value, n) || n < 2) return bad("a whole number of at least 2");
      o.maxObs = n;
      return true;
    case kMaxTime:
      if (!ReadDouble(value, d) || !(d > 0.0)) return bad("a positive number of seconds");
      o.maxTime = d;
      return true;
    case kJobs:
      if (!ReadInteger(value, n) || n < 1 || n > 1000) return bad("a whole number from 1 to 1000");
      o.jobs = static_cast<int>(n);
      return true;
    case kSeed:
      if (!ReadInteger(value, n) || n < 0) return bad("a whole number of at least 0");
      o.seed = static_cast<unsigned long long>(n);
      return true;
    case kOut: o.outDir = value; return true;
    case kResume: o.resumeDir = value; return true;
    case kLauncher: o.launcher = value; return true;
    case kHosts:
      o.hosts = SplitList(value);
      if (o.hosts.empty()) return bad("a comma-separated list of hosts");
      return true;
    case kOverride: o.overrides = value; return true;
    case kReportSize:
      if (!ReadInteger(value, n) || n < 1 || n > 100000) return bad("a whole number from 1 to 100000");
      o.reportSize = static_cast<int>(n);
      return true;
    case kClientTimeout:
      if (!ReadDouble(value, d) || !(d > 0.0)) return bad("a positive number of seconds");
      o.clientTimeout = d;
      return true;
    case kMaxReplacements:
      if (!ReadInteger(value, n) || n < 0 || n > 1000) return bad("a whole number from 0 to 1000");
      o.maxReplacements = static_cast<int>(n);
      return true;
    case kPort:
      if (!ReadInteger(value, n) || n < 1024 || n > 65000) return bad("a port from 1024 to 65000");
      o.firstPort = static_cast<int>(n);
      return true;
    case kNoPlots: o.noPlots = true; return true;
    case kQuiet: o.quiet = true; return true;
  }
  return false;
}

}  // namespace

int RunOptionsParser::Parse(int argc, char** argv, RunOptions& out, std::string& error) {
  optind = 1;
  opterr = 0;
  int code;
  while ((code = getopt_long(argc, argv, ":", kOptions, nullptr)) != -1) {
    if (code == kHelp) return 2;
    if (code == '?') {
      error = std::string("tavrin_run: unknown option '") + argv[optind - 1] + "'\n" + Usage;
      return 1;
    }
    if (code == ':') {
      error = std::string("tavrin_run: option '") + argv[optind - 1] + "' needs a value\n" + Usage;
      return 1;
    }
    if (!Apply(code, optarg, out, error)) return 1;
  }
  if (optind < argc) out.simulator = argv[optind++];
  if (optind < argc) {
    error = std::string("tavrin_run: unexpected word '") + argv[optind] + "'\n" + Usage;
    return 1;
  }
  if (out.simulator.empty() && out.resumeDir.empty()) {
    error = std::string("tavrin_run: no simulator given\n") + Usage;
    return 1;
  }
  // A list is checked here, before anything runs; whether its numbers exist is known only
  // from the study description.
  std::vector<int> numbers;
  if (out.experiments != "all" && !out.ExpandExperiments(-1, numbers, error)) return 1;
  if (!out.hosts.empty() && out.launcher.empty()) {
    error = "tavrin_run: --hosts needs --launcher (local clients run on this machine)";
    return 1;
  }
  if (out.launcher.find("{host}") != std::string::npos && out.hosts.empty()) {
    error = "tavrin_run: the launcher names {host}, so --hosts is required";
    return 1;
  }
  if (out.maxObs > 0 && out.maxObs < out.MinObs()) {
    error = "tavrin_run: --max-obs is below --min-obs";
    return 1;
  }
  return 0;
}

bool RunOptions::ExpandExperiments(int numExperiments, std::vector<int>& out,
                                   std::string& error) const {
  out.clear();
  if (experiments == "all") {
    if (numExperiments < 0) {
      error = "tavrin_run: the simulator has no study description (" + simulator +
              ".study.json), so the experiments must be listed with --experiments";
      return false;
    }
    for (int e = 0; e < numExperiments; e++) out.push_back(e);
    return true;
  }
  // Every element counts: an empty one is a typing slip, and a number listed twice would
  // run that experiment twice with the same client numbers and seeds.
  std::vector<std::string> items;
  for (size_t start = 0;;) {
    size_t comma = experiments.find(',', start);
    items.push_back(experiments.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  std::set<long long> listed;
  for (const std::string& item : items) {
    if (item.empty()) {
      error = "tavrin_run: --experiments: '" + experiments + "' has an empty element";
      return false;
    }
    size_t dash = item.find('-');
    long long first = 0, last = 0;
    bool ok = dash == std::string::npos
                  ? ReadInteger(item.c_str(), first)
                  : ReadInteger(item.substr(0, dash).c_str(), first) &&
                        ReadInteger(item.substr(dash + 1).c_str(), last);
    if (dash == std::string::npos) last = first;
    if (!ok || first < 0 || last < first || last > 32767) {
      error = "tavrin_run: --experiments: '" + item + "' is not an experiment number or range";
      return false;
    }
    for (long long e = first; e <= last; e++) {
      if (numExperiments >= 0 && e >= numExperiments) {
        error = "tavrin_run: --experiments: experiment " + std::to_string(e) +
                " does not exist; the study has experiments 0 to " +
                std::to_string(numExperiments - 1);
        return false;
      }
      if (!listed.insert(e).second) {
        error = "tavrin_run: --experiments: experiment " + std::to_string(e) + " is listed twice in '" +
                experiments + "'";
        return false;
      }
      out.push_back(static_cast<int>(e));
    }
  }
  if (out.empty()) {
    error = "tavrin_run: --experiments names no experiment";
    return false;
  }
  return true;
}

std::vector<std::pair<std::string, std::string>> RunOptions::OverriddenGlobals() const {
  std::vector<std::string> fields;
  size_t at = 0;
  while (at < overrides.size()) {
    size_t end = overrides.find(':', at);
    if (end == std::string::npos) end = overrides.size();
    if (end > at) fields.push_back(overrides.substr(at, end - at));
    at = end + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 2 < fields.size(); i += 3) pairs.emplace_back(fields[i + 1], fields[i + 2]);
  return pairs;
}
