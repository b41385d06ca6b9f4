#include "Campaign.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <thread>

#include "PlotWriter.h"
#include "ResultsWriter.h"
#include "output/WireCodec.h"
#include "platform/FileContents.h"

namespace {

const double kConnectWindow = 10.0;    // seconds to keep trying a port once announced
const double kConnectRetry = 0.05;     // seconds between connection attempts
const double kQuitGrace = 3.0;         // seconds a client has to end after quit
const double kClosedGrace = 1.0;       // seconds to learn why a client closed its link
const int kPollMilliseconds = 50;
const size_t kReadAtOnce = 256 * 1024;   // bytes taken from one client per turn of the loop
const char kStopLevelKey[] = "stop_level.";   // setting: the level an experiment stopped at
const char kQuitCommand = 2;

int gStopPipe[2] = {-1, -1};
volatile sig_atomic_t gStopSignal = 0;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DefaultOutDir(const std::string& model) {
  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  return model + "-" + stamp;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The path from the root, so a campaign resumed from another folder finds the same file.
// Symbolic links are kept: the study description is looked for beside the path as given.
std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  std::string relative = path;
  while (relative.compare(0, 2, "./") == 0) relative.erase(0, 2);
  char* cwd = getcwd(nullptr, 0);
  if (cwd == nullptr) return path;
  std::string absolute = cwd;
  free(cwd);
  return absolute + (absolute.back() == '/' ? "" : "/") + relative;
}

// Whether two paths name one file (the same device and inode).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// A fingerprint of a file's bytes (64-bit FNV-1a, in hexadecimal), or "" when it cannot be
// read: enough to tell a rebuilt model from the one a campaign ran, not a security check.
std::string Fingerprint(const std::string& path) {
  std::string bytes, error;
  if (!ReadFileContents(path, bytes, error)) return "";
  uint64_t hash = 1469598103934665603ULL;
  for (char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ULL;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// A stored setting read back whole: false when it is missing or is not all a number.
bool StoredInteger(const std::map<std::string, std::string>& settings, const char* key,
                   long long low, long long high, long long& out) {
  auto found = settings.find(key);
  if (found == settings.end()) return false;
  const char* text = found->second.c_str();
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && errno == 0 && out >= low && out <= high;
}

bool StoredNumber(const std::map<std::string, std::string>& settings, const char* key,
                  double low, double high, double& out) {
  auto found = settings.find(key);
  if (found == settings.end()) return false;
  const char* text = found->second.c_str();
  char* end = nullptr;
  errno = 0;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && errno == 0 && out >= low && out <= high;
}

}  // namespace

struct Campaign::Client {
  enum Phase { Announcing, Connecting, Linked, Quitting, Gone };

  ExperimentRun* run = nullptr;
  int number = 0;
  unsigned int seed = 0;
  ClientProcess process;
  ClientConnection connection;
  std::unique_ptr<WireReader> reader;
  Phase phase = Announcing;
  double deadline = 0.0;
  double nextConnectTry = 0.0;
  double lastHeard = 0.0;
  double closedAt = -1.0;    // when the client closed its link, or -1
  std::string host;          // the host asked for ("" when the launcher or system chooses)
  int firstPort = 0;         // the port it was told to try first (-p)
  bool wantsRead = false;    // poll found the link readable
  bool wantsFinish = false;  // poll found a pending connection writable
};

Campaign::Campaign(RunOptions options) : _options(std::move(options)) {}

Campaign::~Campaign() = default;

void Campaign::RequestStop(int signal) {
  gStopSignal = signal;
  if (gStopPipe[1] >= 0) {
    char byte = 1;
    ssize_t ignored = write(gStopPipe[1], &byte, 1);
    (void)ignored;
  }
}

unsigned int Campaign::ClientSeed(unsigned long long campaignSeed, int experiment, int client) {
  // SplitMix64 over the three numbers: neighbouring clients get unrelated seeds.
  unsigned long long z = campaignSeed * 0x9E3779B97F4A7C15ULL +
                         (static_cast<unsigned long long>(experiment) << 32) +
                         static_cast<unsigned long long>(client) + 0x632BE59BD9B4E019ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  unsigned int seed = static_cast<unsigned int>(z & 0x7FFFFFFF);
  return seed == 0 ? 1 : seed;   // 0 would mean the simulator's default seed
}

int Campaign::Run() {
  _started = Now();
  if (pipe(gStopPipe) == 0) {
    fcntl(gStopPipe[0], F_SETFL, O_NONBLOCK);
    fcntl(gStopPipe[1], F_SETFL, O_NONBLOCK);
  }
  if (!Prepare()) {
    std::cerr << _fatal << std::endl;
    return _exitStatus;
  }
  bool terminal = !_options.quiet && isatty(2);
  _progress.reset(new ProgressDisplay(stderr, terminal, _options.precision));
  Loop();
  if (_progress) _progress->Clear();
  return WriteResults();
}

bool Campaign::Prepare() {
  if (!_options.resumeDir.empty()) return PrepareResume();
  return PrepareFresh();
}

// The study description beside the simulator, when there is one (the generator writes it).
bool Campaign::ReadStudy() {
  std::string studyPath = _options.simulator + ".study.json";
  if (!FileExists(studyPath)) return true;
  if (StudyDescription::Read(studyPath, _study, _fatal) != 0) {
    _fatal = "tavrin_run: " + _fatal;
    return false;
  }
  _haveStudy = true;
  // The simulator would run batches that observe nothing: refused before any client runs.
  if (!_study.HasVariablesFor(_options.steadyState)) {
    _fatal = "tavrin_run: " + _study.model + " has no " +
             (_options.steadyState ? "steady-state reward variable: run it without --steady-state"
                                   : "terminating reward variable: run it with --steady-state");
    if (_study.rewards.empty()) _fatal = "tavrin_run: " + _study.model + " has no reward variable";
    return false;
  }
  return true;
}

bool Campaign::PrepareFresh() {
  if (_options.launcher.empty() && access(_options.simulator.c_str(), X_OK) != 0) {
    _fatal = "tavrin_run: cannot run the simulator '" + _options.simulator + "'";
    return false;
  }
  // Through a launcher the path is one on the remote hosts, kept as typed.
  if (_options.launcher.empty()) _options.simulator = AbsolutePath(_options.simulator);
  if (!ReadStudy()) return false;
  std::vector<int> numbers;
  int known = _haveStudy ? static_cast<int>(_study.experiments.size()) : -1;
  if (!_options.ExpandExperiments(known, numbers, _fatal)) {
    // A list naming experiments the study does not have is a bad command line; "all" with
    // no study description is the simulator's lack.
    if (_options.experiments != "all") _exitStatus = ExitUsage;
    return false;
  }
  std::string model = _haveStudy ? _study.model : BaseName(_options.simulator);
  if (_options.outDir.empty()) _options.outDir = DefaultOutDir(model);
  mkdir(_options.outDir.c_str(), 0777);
  if (!_lock.Acquire(_options.outDir, _fatal)) {
    _fatal = "tavrin_run: " + _fatal;
    return false;
  }
  std::string dbPath = _options.outDir + "/campaign.sqlite";
  if (FileExists(dbPath)) {
    _fatal = "tavrin_run: " + _options.outDir +
             " already holds a campaign; continue it with --resume " + _options.outDir;
    return false;
  }
  if (!_store.Open(dbPath, false)) {
    _fatal = "tavrin_run: " + _store.Error();
    return false;
  }
  const std::pair<const char*, std::string> settings[] = {
      {"simulator", _options.simulator},
      {"kind", _options.steadyState ? "steady-state" : "terminating"},
      {"experiments", _options.experiments},
      {"seed", std::to_string(_options.seed)},
      {"override", _options.overrides},
      {"report_size", std::to_string(_options.reportSize)},
      {"port", std::to_string(_options.firstPort)},
      {"precision", ResultsWriter::Number(_options.precision)},
      {"confidence", ResultsWriter::Number(_options.confidence)},
      {"abs-tol", ResultsWriter::Number(_options.absTol)},
      {"min-obs", std::to_string(_options.MinObs())},
      {"max-obs", std::to_string(_options.maxObs)},
      {"max-time", ResultsWriter::Number(_options.maxTime)},
      // Through a launcher the simulator is a path on the hosts, which may not exist here.
      {"simulator_fingerprint", _options.launcher.empty() ? Fingerprint(_options.simulator) : ""}};
  for (const auto& s : settings) {
    if (!_store.SetSetting(s.first, s.second)) {
      _fatal = "tavrin_run: " + _store.Error();
      return false;
    }
  }
  for (int number : numbers) {
    ExperimentRun& run = AddRun(number);
    if (!_store.PutExperiment(number, run.Name(), run.Globals())) {
      _fatal = "tavrin_run: " + _store.Error();
      return false;
    }
  }
  return true;
}

// A resumed campaign takes what it runs (simulator, run kind, experiments, seed, overrides,
// report size) from the database; the precision and limits stored hold unless given again;
// the parallelism, launcher and first port come from the new command line.
bool Campaign::PrepareResume() {
  std::string dbPath = _options.resumeDir + "/campaign.sqlite";
  if (!FileExists(dbPath)) {
    _fatal = "tavrin_run: " + _options.resumeDir + " holds no campaign (no campaign.sqlite)";
    return false;
  }
  if (!_lock.Acquire(_options.resumeDir, _fatal)) {
    _fatal = "tavrin_run: " + _fatal;
    return false;
  }
  std::map<std::string, std::string> settings;
  if (!_store.Open(dbPath, true) || !_store.GetSettings(settings)) {
    _fatal = "tavrin_run: " + _store.Error();
    return false;
  }
  // A damaged database is named as such, whatever is wrong in it.
  auto damaged = [&](const char* key) {
    _fatal = "tavrin_run: campaign database " + dbPath + ": setting '" + key +
             "' is missing or malformed";
    return false;
  };
  for (const char* key : {"simulator", "kind", "experiments", "override"})
    if (settings.count(key) == 0) return damaged(key);
  if (settings["simulator"].empty()) return damaged("simulator");
  if (settings["kind"] != "steady-state" && settings["kind"] != "terminating") return damaged("kind");
  RunOptions storedOptions;
  storedOptions.experiments = settings["experiments"];
  std::vector<int> storedList;
  std::string error;
  if (storedOptions.experiments != "all" && !storedOptions.ExpandExperiments(-1, storedList, error))
    return damaged("experiments");
  long long seedValue = 0, reportSizeValue = 0, portValue = 0;
  if (!StoredInteger(settings, "seed", 0, LLONG_MAX, seedValue)) return damaged("seed");
  if (!StoredInteger(settings, "report_size", 0, 100000, reportSizeValue)) return damaged("report_size");
  if (!StoredInteger(settings, "port", 1024, 65000, portValue)) return damaged("port");
  // The simulator may be named again, by any path to the same file.
  std::string simulator = settings["simulator"];
  if (!_options.simulator.empty() && _options.simulator != simulator &&
      !SameFile(_options.simulator, simulator)) {
    _fatal = "tavrin_run: the campaign in " + _options.resumeDir + " ran " + simulator +
             ", not " + _options.simulator;
    _exitStatus = ExitUsage;
    return false;
  }
  // Checked before anything is written: clients that cannot start would only replace the
  // stored results with a failed experiment.
  if (_options.launcher.empty() && access(simulator.c_str(), X_OK) != 0) {
    _fatal = "tavrin_run: cannot run the simulator '" + simulator + "' of the campaign in " +
             _options.resumeDir;
    return false;
  }
  // New observations of a changed model (rebuilt with another reward, another model put in
  // its place) would be pooled with the old ones under the old names: refused. Campaigns
  // stored without a fingerprint, or run through a launcher, are not checked.
  const std::string stored = settings.count("simulator_fingerprint") ? settings["simulator_fingerprint"] : "";
  if (!stored.empty() && _options.launcher.empty() && Fingerprint(simulator) != stored) {
    _fatal = "tavrin_run: the simulator " + simulator + " has changed since the campaign in " +
             _options.resumeDir + " ran it; its observations would be pooled with another model's. "
             "Start a new campaign with --out";
    return false;
  }
  // What the campaign runs belongs to it: asked for again with another value, it is refused
  // rather than ignored, since the new observations would be pooled with the stored ones.
  // The first port is only where the clients look for a free one, so a new one applies.
  auto given = [&](const char* option) { return _options.given.count(option) != 0; };
  const std::string folder = _options.resumeDir;
  auto conflict = [&](const std::string& option, const std::string& stored) {
    _fatal = "tavrin_run: " + option + " belongs to the campaign in " + folder +
             ", which has " + stored + "; leave it out when resuming";
    _exitStatus = ExitUsage;
    return false;
  };
  bool steadyState = settings["kind"] == "steady-state";
  unsigned long long seed = static_cast<unsigned long long>(seedValue);
  int reportSize = static_cast<int>(reportSizeValue);
  if ((given("steady-state") || given("terminating")) && _options.steadyState != steadyState)
    return conflict(_options.steadyState ? "--steady-state" : "--terminating",
                    steadyState ? "a steady-state run" : "a terminating run");
  if (given("seed") && _options.seed != seed) return conflict("--seed", "seed " + settings["seed"]);
  if (given("override") && _options.overrides != settings["override"])
    return conflict("--override", settings["override"].empty()
                                      ? std::string("no overrides")
                                      : "the overrides '" + settings["override"] + "'");
  if (given("report-size") && _options.reportSize != reportSize)
    return conflict("--report-size", reportSize > 0 ? "report size " + settings["report_size"]
                                                    : std::string("the default report size"));
  if (given("out") && _options.outDir != _options.resumeDir &&
      !SameFile(_options.outDir, _options.resumeDir))
    return conflict("--out", "its own folder");
  std::string askedExperiments = given("experiments") ? _options.experiments : "";
  // Where each finished experiment stopped, so a resume that runs nothing keeps its figures.
  for (const auto& setting : settings) {
    const std::string prefix = kStopLevelKey;
    if (setting.first.compare(0, prefix.size(), prefix) != 0) continue;
    long long level = 0;
    std::string number = setting.first.substr(prefix.size());
    if (!StoredInteger(settings, setting.first.c_str(), 0, LLONG_MAX, level) || number.empty() ||
        number.find_first_not_of("0123456789") != std::string::npos)
      return damaged(setting.first.c_str());
    _stopLevels[std::atoi(number.c_str())] = level;
  }
  _options.simulator = simulator;
  _options.steadyState = steadyState;
  _options.experiments = settings["experiments"];
  _options.seed = seed;
  _options.overrides = settings["override"];
  _options.reportSize = reportSize;
  if (!given("port")) _options.firstPort = static_cast<int>(portValue);
  // The targets and limits of the stored campaign hold unless given again.
  struct StoredNumberTarget {
    const char* key;
    double* field;
    double low, high;
  };
  const StoredNumberTarget storedNumbers[] = {
      {"precision", &_options.precision, std::nextafter(0.0, 1.0), std::nextafter(1.0, 0.0)},
      {"confidence", &_options.confidence, std::nextafter(0.0, 1.0), std::nextafter(1.0, 0.0)},
      {"abs-tol", &_options.absTol, 0.0, HUGE_VAL},
      {"max-time", &_options.maxTime, 0.0, HUGE_VAL}};
  for (const StoredNumberTarget& t : storedNumbers) {
    if (given(t.key) || settings.count(t.key) == 0) continue;
    if (!StoredNumber(settings, t.key, t.low, t.high, *t.field)) return damaged(t.key);
  }
  struct StoredIntegerTarget {
    const char* key;
    long long* field;
    long long low;
  };
  const StoredIntegerTarget storedIntegers[] = {{"min-obs", &_options.minObs, 2},
                                          {"max-obs", &_options.maxObs, 0}};
  for (const StoredIntegerTarget& t : storedIntegers) {
    if (given(t.key) || settings.count(t.key) == 0) continue;
    if (!StoredInteger(settings, t.key, t.low, LLONG_MAX, *t.field)) return damaged(t.key);
  }
  if (_options.maxObs > 0 && _options.maxObs < _options.MinObs()) {
    _fatal = "tavrin_run: --max-obs " + std::to_string(_options.maxObs) + " is below the " +
             (given("min-obs") ? "" : "stored ") + "--min-obs " + std::to_string(_options.MinObs());
    _exitStatus = ExitUsage;
    return false;
  }
  _options.outDir = _options.resumeDir;
  _options.resumeDir.clear();
  _resumed = true;
  // The database is opened already; the rest is as for a fresh campaign, then each
  // experiment's stored observations are loaded.
  if (!ReadStudy()) return false;
  std::vector<int> numbers;
  int known = _haveStudy ? static_cast<int>(_study.experiments.size()) : -1;
  if (!_options.ExpandExperiments(known, numbers, _fatal)) return false;
  if (!askedExperiments.empty() && askedExperiments != _options.experiments) {
    RunOptions asked = _options;
    asked.experiments = askedExperiments;
    std::vector<int> askedNumbers;
    if (!asked.ExpandExperiments(known, askedNumbers, error) || askedNumbers != numbers)
      return conflict("--experiments", "the experiments " + _options.experiments);
  }
  for (int number : numbers) {
    ExperimentRun& run = AddRun(number);
    if (!LoadExperiment(run)) return false;
  }
  // The new targets and limits are kept for the next resume, once nothing has been refused.
  for (const char* key : {"precision", "confidence", "abs-tol", "min-obs", "max-obs", "max-time"}) {
    if (_options.given.count(key) == 0) continue;
    std::string value = key == std::string("precision") ? ResultsWriter::Number(_options.precision)
                        : key == std::string("confidence") ? ResultsWriter::Number(_options.confidence)
                        : key == std::string("abs-tol") ? ResultsWriter::Number(_options.absTol)
                        : key == std::string("min-obs") ? std::to_string(_options.minObs)
                        : key == std::string("max-obs") ? std::to_string(_options.maxObs)
                                                        : ResultsWriter::Number(_options.maxTime);
    if (!_store.SetSetting(key, value)) {
      _fatal = "tavrin_run: " + _store.Error();
      return false;
    }
  }
  return true;
}

ExperimentRun& Campaign::AddRun(int number) {
  ExperimentRun::Settings runSettings;
  runSettings.steadyState = _options.steadyState;
  runSettings.precision = _options.precision;
  runSettings.confidence = _options.confidence;
  runSettings.absTol = _options.absTol;
  runSettings.minObs = _options.MinObs();
  runSettings.maxObs = _options.maxObs;
  const StudyDescription::Experiment* e = _haveStudy ? _study.FindExperiment(number) : nullptr;
  std::string name = e != nullptr ? e->name : "experiment " + std::to_string(number);
  std::vector<std::pair<std::string, std::string>> globals;
  if (e != nullptr) globals = e->values;
  // The clients run with the overridden values, so those are what the results name; the
  // experiment's name, which may spell out its own values, says what was changed.
  std::string changed;
  for (const auto& o : _options.OverriddenGlobals())
    for (auto& g : globals)
      if (g.first == o.first && g.second != o.second) {
        g.second = o.second;
        changed += (changed.empty() ? "" : ",") + o.first + "=" + o.second;
      }
  if (!changed.empty()) name += " with " + changed;
  _runs.emplace_back(new ExperimentRun(number, name, globals, runSettings,
                                       _haveStudy ? &_study : nullptr));
  return *_runs.back();
}

bool Campaign::LoadExperiment(ExperimentRun& run) {
  std::vector<CampaignStore::ClientRow> clients;
  std::vector<CampaignStore::Block> blocks;
  if (!_store.GetClients(run.Number(), clients) || !_store.GetObservations(run.Number(), blocks)) {
    _fatal = "tavrin_run: " + _store.Error();
    return false;
  }
  for (const CampaignStore::Block& b : blocks)
    run.AddObservations(b.client, b.variable, b.values.data(), static_cast<int>(b.values.size()));
  for (const CampaignStore::ClientRow& c : clients) {
    run.FreezeClient(c.client);
    run.nextClientNumber = std::max(run.nextClientNumber, c.client + 1);
    // A manager that was killed left its clients "running"; they ended with it.
    if (c.state == "running" && !_store.SetClientState(run.Number(), c.client, "ended", "its manager was stopped")) {
      _fatal = "tavrin_run: " + _store.Error();
      return false;
    }
  }
  // What is there may already meet the new target, or reach the observation limit; then
  // nothing is rerun. New clients would only repeat the limit at a level where each stored
  // client counts with its first observations alone, a smaller sample than the stored one.
  if (blocks.empty()) return true;
  auto stored = _stopLevels.find(run.Number());
  int64_t stoppedAt = stored != _stopLevels.end() ? stored->second : 0;
  bool met = run.MeetsWithWhatIsThere(stoppedAt);
  int64_t pooledAtStop = run.Observations();
  if (!met && stoppedAt > 0) met = run.MeetsWithWhatIsThere();
  if (met) {
    std::cerr << "tavrin_run: experiment " << run.Number()
              << " already meets the target with its stored observations" << std::endl;
  } else if (_options.maxObs > 0 && run.Observations() >= _options.maxObs) {
    bool sameStop = stoppedAt > 0 && pooledAtStop >= _options.maxObs;
    run.Finish("observation limit reached by the stored observations", sameStop ? stoppedAt : 0);
    std::cerr << "tavrin_run: experiment " << run.Number() << " already reached the observation limit ("
              << _options.maxObs << ") with its stored observations; raise --max-obs to continue it"
              << std::endl;
  } else {
    return true;
  }
  // Not rerun: its plots are drawn from what is stored, and the database says it is done
  // (a manager killed before it ended the experiment left it "pending").
  run.RecordStoredChecks(run.StopLevel());
  if (!StoreEnd(run, "done")) {
    _fatal = "tavrin_run: " + _store.Error();
    return false;
  }
  return true;
}

int Campaign::ActiveClients() const { return static_cast<int>(_clients.size()); }

int Campaign::ClientsOf(const ExperimentRun& run) const {
  int n = 0;
  for (const auto& c : _clients)
    if (c->run == &run && c->phase != Client::Quitting) n++;
  return n;
}

ExperimentRun* Campaign::RunOf(int experiment) {
  for (auto& r : _runs)
    if (r->Number() == experiment) return r.get();
  return nullptr;
}

int Campaign::FreePortFor(const std::string& host) const {
  std::vector<int> held;
  for (const auto& c : _clients) {
    if (c->phase == Client::Gone || c->host != host) continue;
    held.push_back(c->process.Port() > 0 ? c->process.Port() : c->firstPort);
  }
  int port = _options.firstPort;
  while (std::find(held.begin(), held.end(), port) != held.end()) port++;
  return port;
}

std::vector<std::string> Campaign::ClientArguments(const ExperimentRun& run, int clientNumber,
                                                   unsigned int seed, int firstPort) const {
  // A simulator holds back its reports after the tenth until 25 are queued, so the report
  // size sets how coarsely the pooled level advances: one batch per report in steady state
  // (a batch takes milliseconds), 100 replications per report in terminating runs.
  int reportSize = _options.reportSize > 0 ? _options.reportSize : (_options.steadyState ? 1 : 100);
  std::vector<std::string> args = {_options.simulator,
                                   "-w",
                                   "-t", _options.steadyState ? "0" : "1",
                                   "-e", std::to_string(run.Number()),
                                   "-c", std::to_string(clientNumber),
                                   "-s", std::to_string(seed),
                                   "-n", std::to_string(reportSize),
                                   "-p", std::to_string(firstPort)};
  if (!_options.overrides.empty()) args.insert(args.end(), {"-O", _options.overrides});
  // A client on another host must listen beyond the loopback interface.
  if (!_options.launcher.empty()) args.insert(args.end(), {"-L", "0.0.0.0"});
  return args;
}

bool Campaign::StartClient(ExperimentRun& run, int clientNumber) {
  std::unique_ptr<Client> client(new Client);
  client->run = &run;
  client->number = clientNumber;
  client->seed = ClientSeed(_options.seed, run.Number(), clientNumber);
  int maxVariables = 32768;
  client->reader.reset(new WireReader(clientNumber, run.Number(), maxVariables));
  std::string host;
  if (!_options.hosts.empty()) host = _options.hosts[_nextHost++ % _options.hosts.size()];
  // Each client starts its search for a port where no other client of this campaign on
  // its host is, so any number of clients find one (a simulator tries 100 from its first).
  client->host = host;
  client->firstPort = FreePortFor(host);
  std::string error;
  if (!_store.PutClient({run.Number(), clientNumber, client->seed, "running", ""})) {
    Fatal("tavrin_run: " + _store.Error());
    return false;
  }
  if (!client->process.Start(ClientArguments(run, clientNumber, client->seed, client->firstPort),
                             _options.launcher,
                             host, error)) {
    Fatal("tavrin_run: experiment " + std::to_string(run.Number()) + ": " + error);
    return false;
  }
  run.AddClient(clientNumber);
  client->deadline = Now() + _options.clientTimeout;
  _clients.push_back(std::move(client));
  return true;
}

void Campaign::StartExperiments() {
  if (_stopping) return;
  int jobs = _options.jobs > 0 ? _options.jobs
                               : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  for (auto& r : _runs) {
    ExperimentRun& run = *r;
    if (run.GetState() != ExperimentRun::Pending) continue;
    // Each experiment gets its share of the places from the start and keeps it, so its
    // estimate is made from the same clients whatever else runs beside it.
    int share = std::max(1, std::min(jobs, (jobs + static_cast<int>(_runs.size()) - 1) /
                                               static_cast<int>(_runs.size())));
    if (ActiveClients() + share > jobs) return;
    run.targetClients = share;
    run.SetRunning();
    run.startTime = Now();
    for (int i = 0; i < share; i++)
      if (!StartClient(run, run.nextClientNumber++)) return;
  }
}

void Campaign::Fatal(const std::string& message) {
  if (_fatal.empty()) _fatal = message;
  _stopping = true;
}

void Campaign::QuitClient(Client& client) {
  if (client.phase == Client::Gone || client.phase == Client::Quitting) return;
  client.run->FreezeClient(client.number);
  if (client.phase == Client::Linked && client.closedAt < 0 && client.connection.SendByte(kQuitCommand)) {
    client.phase = Client::Quitting;
    client.deadline = Now() + kQuitGrace;
    return;
  }
  client.process.Kill();
  client.phase = Client::Gone;
  if (!_store.SetClientState(client.run->Number(), client.number, "ended", "")) Fatal("tavrin_run: " + _store.Error());
}

void Campaign::EndExperiment(ExperimentRun& run) {
  for (auto& c : _clients)
    if (c->run == &run) c->run->FreezeClient(c->number);
  for (auto& c : _clients)
    if (c->run == &run) QuitClient(*c);
  if (run.GetState() == ExperimentRun::Running)
    run.Finish(_interrupted ? "interrupted" : !_fatal.empty() ? "campaign ended by an error" : "stopped");
  if (!StoreEnd(run, run.GetState() == ExperimentRun::Failed ? "failed" : "done")) Fatal("tavrin_run: " + _store.Error());
}

// An ended experiment's status and the level it stopped at, for a later resume.
bool Campaign::StoreEnd(const ExperimentRun& run, const char* state) {
  return _store.SetExperimentStatus(run.Number(), state, run.Reason()) &&
         _store.SetSetting(kStopLevelKey + std::to_string(run.Number()), std::to_string(run.StopLevel()));
}

void Campaign::ClientFailed(Client& client, const std::string& reason) {
  if (client.phase == Client::Gone) return;
  ExperimentRun& run = *client.run;
  client.process.Kill();
  client.connection.Close();
  client.phase = Client::Gone;
  run.FreezeClient(client.number);
  std::string where = "experiment " + std::to_string(run.Number()) + ", client " +
                      std::to_string(client.number);
  if (_progress) _progress->Clear();
  std::cerr << "tavrin_run: " << where << ": " << reason << std::endl;
  if (!_store.SetClientState(run.Number(), client.number, "failed", reason)) {
    Fatal("tavrin_run: " + _store.Error());
    return;
  }
  if (run.GetState() != ExperimentRun::Running || _stopping) return;
  if (run.replacementsUsed < _options.maxReplacements) {
    run.replacementsUsed++;
    StartClient(run, run.nextClientNumber++);
    return;
  }
  run.Fail("client " + std::to_string(client.number) + ": " + reason + "; " +
           std::to_string(run.replacementsUsed) + " replacement clients used");
  EndExperiment(run);
}

// A record of an experiment that has ended (it arrived after the stop, while the client
// was quitting) is dropped: it took no part in the result, and stored it would be pooled
// on a resume that runs nothing, changing a finished experiment's figures.
bool Campaign::HandleRecord(Client& client, const DataRecord& record) {
  ExperimentRun& run = *client.run;
  if (run.GetState() != ExperimentRun::Running) return false;
  for (const DataSection& section : record.sections) {
    if (section.observations.empty()) continue;
    if (_haveStudy && !_study.VariableName(section.variable).empty() &&
        !_study.Observes(section.variable, _options.steadyState))
      continue;   // the other run kind's variable, all zeros
    std::vector<double>& pending = _pendingRows[section.variable];
    pending.insert(pending.end(), section.observations.begin(), section.observations.end());
    _received += static_cast<long long>(section.observations.size());
    run.AddObservations(client.number, section.variable, section.observations.data(),
                        static_cast<int>(section.observations.size()));
  }
  return run.CheckStopAfter(client.number);
}

// What one read brought goes to the database in one transaction: a transaction per record
// cost more than the rest of a record's handling together.
bool Campaign::StorePending(Client& client) {
  std::vector<std::pair<int, const std::vector<double>*>> rows;
  for (const auto& p : _pendingRows)
    if (!p.second.empty()) rows.emplace_back(p.first, &p.second);
  bool stored = rows.empty() || _store.PutObservations(client.run->Number(), client.number, rows);
  for (auto& p : _pendingRows) p.second.clear();
  if (!stored) Fatal("tavrin_run: " + _store.Error());
  return stored;
}

void Campaign::ReadFromClient(Client& client) {
  std::string bytes;
  bool open = client.connection.Read(bytes, kReadAtOnce);
  if (!bytes.empty()) {
    client.lastHeard = Now();
    client.reader->Append(bytes.data(), bytes.size());
  }
  bool ended = false;
  std::string malformed;
  for (;;) {
    WireReader::Kind kind = client.reader->Next();
    if (kind == WireReader::None) break;
    if (kind == WireReader::Malformed) {
      malformed = client.reader->Error();
      break;
    }
    if (kind == WireReader::Data && HandleRecord(client, client.reader->LastRecord())) ended = true;
  }
  if (!StorePending(client)) return;
  if (ended) EndExperiment(*client.run);
  if (!malformed.empty()) {
    ClientFailed(client, "sent malformed data: " + malformed);
    return;
  }
  if (client.phase == Client::Gone || !_fatal.empty()) return;
  if (!open) {
    client.connection.Close();
    if (client.closedAt < 0) client.closedAt = Now();
  }
}

void Campaign::Service(Client& client) {
  double now = Now();
  client.process.ReadOutput();
  switch (client.phase) {
    case Client::Announcing:
      if (client.process.Port() > 0) {
        client.phase = Client::Connecting;
        client.deadline = now + kConnectWindow;
        client.nextConnectTry = now;
      } else if (client.process.Exited()) {
        client.process.ReadOutput();   // what it wrote just before it exited
        std::string why = client.process.ErrorText();
        // A simulator that rejects its arguments would reject them in every client, and a
        // local one that cannot be run at all (127: not found or not executable) fails in
        // all; through a launcher, 127 may be one host's fault, and a replacement goes on.
        // A simulator that found no free port is one client's bad luck (other programs
        // holding ports), not the simulator's fault: it is replaced like any failed client.
        bool noPort = why.find(WireCodec::NoFreePortText) != std::string::npos;
        if (noPort) {
          ClientFailed(client, "found no free port among the " + std::to_string(WireCodec::PortsTried) +
                                   " from " + std::to_string(client.firstPort) +
                                   " (other programs hold them; choose another --port)");
          return;
        }
        if (client.process.ExitCode() == 1 ||
            (client.process.ExitCode() == 127 && _options.launcher.empty())) {
          Fatal("tavrin_run: the simulator ended before announcing its port (" +
                client.process.ExitText() + ")" + (why.empty() ? "" : ":\n" + why));
          client.phase = Client::Gone;
          return;
        }
        ClientFailed(client, "ended before announcing its port (" + client.process.ExitText() +
                                 ")" + (why.empty() ? "" : ": " + why));
        return;
      } else if (now > client.deadline) {
        ClientFailed(client, "announced no port within " + ResultsWriter::Number(_options.clientTimeout) +
                                 " s (a large model may take longer to build: allow it more with"
                                 " --client-timeout)");
        return;
      }
      if (client.phase != Client::Connecting) return;
      [[fallthrough]];   // try the port at once
    case Client::Connecting: {
      if (client.wantsFinish) client.connection.Finish();
      client.wantsFinish = false;
      ClientConnection::State state = client.connection.GetState();
      if (state == ClientConnection::Open) {
        client.phase = Client::Linked;
        client.lastHeard = now;
        return;
      }
      if (client.process.Exited()) {
        ClientFailed(client, "ended before the manager could connect (" + client.process.ExitText() + ")");
        return;
      }
      if (now > client.deadline) {
        ClientFailed(client, "refused every connection to port " +
                                 std::to_string(client.process.Port()) + " for " +
                                 ResultsWriter::Number(kConnectWindow) + " s");
        return;
      }
      if (state != ClientConnection::Connecting && now >= client.nextConnectTry) {
        std::string error;
        if (!client.connection.Begin(client.process.Host(), client.process.Port(), error)) {
          ClientFailed(client, error);
          return;
        }
        client.nextConnectTry = now + kConnectRetry;
        if (client.connection.GetState() == ClientConnection::Open) {
          client.phase = Client::Linked;
          client.lastHeard = now;
        }
      }
      return;
    }
    case Client::Linked:
      if (client.wantsRead) ReadFromClient(client);
      client.wantsRead = false;
      if (client.phase != Client::Linked) return;
      if (client.closedAt >= 0) {
        bool exited = client.process.Exited();
        if (exited || now > client.closedAt + kClosedGrace)
          ClientFailed(client, exited ? "ended during the run (" + client.process.ExitText() + ")" +
                                            (client.process.Notice().empty() ? "" : ": " + client.process.Notice())
                                      : "closed its connection during the run");
        return;
      }
      if (now - client.lastHeard > _options.clientTimeout) {
        ClientFailed(client, "sent nothing for " + ResultsWriter::Number(_options.clientTimeout) + " s");
        return;
      }
      return;
    case Client::Quitting:
      if (client.wantsRead && client.connection.GetState() == ClientConnection::Open)
        ReadFromClient(client);
      client.wantsRead = false;
      if (client.phase == Client::Gone) return;
      if (client.process.Exited() || now > client.deadline) {
        client.process.Kill();
        client.connection.Close();
        client.phase = Client::Gone;
        if (!_store.SetClientState(client.run->Number(), client.number, "ended", ""))
          Fatal("tavrin_run: " + _store.Error());
      }
      return;
    case Client::Gone:
      return;
  }
}

void Campaign::Poll() {
  std::vector<pollfd> fds;
  std::vector<Client*> owners;
  fds.push_back({gStopPipe[0], POLLIN, 0});
  owners.push_back(nullptr);
  for (auto& c : _clients) {
    for (int fd : {c->process.OutputFd(), c->process.ErrorFd()}) {
      if (fd < 0) continue;
      fds.push_back({fd, POLLIN, 0});
      owners.push_back(nullptr);
    }
    int socket = c->connection.Fd();
    if (socket >= 0) {
      short events = c->connection.GetState() == ClientConnection::Connecting ? POLLOUT : POLLIN;
      fds.push_back({socket, events, 0});
      owners.push_back(c.get());
    }
  }
  poll(fds.data(), fds.size(), kPollMilliseconds);
  if (fds[0].revents != 0) {
    char drain[16];
    while (read(gStopPipe[0], drain, sizeof drain) > 0) {
    }
  }
  for (size_t i = 1; i < fds.size(); i++) {
    if (owners[i] == nullptr || fds[i].revents == 0) continue;
    if (owners[i]->connection.GetState() == ClientConnection::Connecting)
      owners[i]->wantsFinish = true;
    else
      owners[i]->wantsRead = true;
  }
}

void Campaign::Shutdown() {
  for (auto& r : _runs)
    if (r->GetState() == ExperimentRun::Running) EndExperiment(*r);
  for (auto& c : _clients) QuitClient(*c);
  double until = Now() + kQuitGrace;
  while (!_clients.empty() && Now() < until) {
    Poll();
    for (auto& c : _clients) Service(*c);
    _clients.erase(std::remove_if(_clients.begin(), _clients.end(),
                                  [](const std::unique_ptr<Client>& c) { return c->phase == Client::Gone; }),
                   _clients.end());
  }
  _clients.clear();   // each remaining client's group is killed by its destructor
}

void Campaign::ShowProgress() {
  if (!_progress || _options.quiet) return;
  std::vector<ProgressDisplay::Line> lines;
  int done = 0;
  double now = Now();
  for (const auto& r : _runs) {
    if (r->GetState() == ExperimentRun::Done || r->GetState() == ExperimentRun::Failed) done++;
    if (r->GetState() != ExperimentRun::Running) continue;
    double elapsed = now - r->startTime;
    lines.push_back({r.get(), ClientsOf(*r),
                     elapsed > 0 ? static_cast<double>(r->Observations()) / elapsed : 0.0});
  }
  _progress->Update(now, done, static_cast<int>(_runs.size()), lines);
}

void Campaign::Loop() {
  for (;;) {
    if (gStopSignal != 0 && !_interrupted) {
      _interrupted = true;
      _stopping = true;
      if (_progress) _progress->Clear();
      std::cerr << "tavrin_run: interrupted; ending the clients and writing the results" << std::endl;
    }
    if (_stopping) break;
    StartExperiments();
    bool active = false;
    for (const auto& r : _runs)
      active = active || r->GetState() == ExperimentRun::Pending || r->GetState() == ExperimentRun::Running;
    if (!active && _clients.empty()) break;
    Poll();
    for (size_t i = 0; i < _clients.size(); i++) Service(*_clients[i]);
    _clients.erase(std::remove_if(_clients.begin(), _clients.end(),
                                  [](const std::unique_ptr<Client>& c) { return c->phase == Client::Gone; }),
                   _clients.end());
    double now = Now();
    for (auto& r : _runs) {
      // A campaign ended by an error ends its experiments as such, not as failed for the
      // clients the error took with it.
      if (r->GetState() != ExperimentRun::Running || _stopping) continue;
      if (_options.maxTime > 0 && now - r->startTime > _options.maxTime) {
        for (auto& c : _clients)
          if (c->run == r.get()) r->FreezeClient(c->number);
        r->Finish("time limit reached");
        EndExperiment(*r);
      } else if (ClientsOf(*r) == 0) {
        r->Fail("no client left");
        EndExperiment(*r);
      }
    }
    ShowProgress();
  }
  Shutdown();
}

int Campaign::WriteResults() {
  // A resumed campaign ended by an error before anything new arrived has nothing to add to
  // the results of its earlier sessions, and must not replace them.
  if (_resumed && _received == 0 && !_fatal.empty()) {
    std::cerr << "tavrin_run: nothing new was received; the results in " << _options.outDir
              << " are left as they were" << std::endl;
    std::cerr << _fatal << std::endl;
    return ExitFatal;
  }
  std::vector<const ExperimentRun*> finished;
  for (const auto& r : _runs)
    if (r->GetState() == ExperimentRun::Done || r->GetState() == ExperimentRun::Failed)
      finished.push_back(r.get());
  int status = ExitAllMet;
  std::string error;
  bool written = ResultsWriter::WriteCsv(_options.outDir + "/results.csv", finished, _options.confidence, error) &&
                 ResultsWriter::WriteJson(_options.outDir + "/results.json", finished, _options.confidence, error);
  if (!written) {
    std::cerr << "tavrin_run: " << error << std::endl;
    status = ExitFatal;
  }
  for (const ExperimentRun* run : finished) {
    std::printf("experiment %d (%s)%s%s\n", run->Number(), run->Name().c_str(),
                run->Reason().empty() ? "" : ": ", run->Reason().c_str());
    if (run->GetState() == ExperimentRun::Failed && status == ExitAllMet) status = ExitExperimentFailed;
    for (const VariableEstimate& e : run->Final()) {
      std::printf("  %-28s %12lld obs  mean %-14.8g half-width %-12.6g (%.4f)  %s\n",
                  run->VariableName(e.variable).c_str(), static_cast<long long>(e.observations),
                  e.mean, e.halfWidth, e.RelativeHalfWidth(), ResultsWriter::Status(*run, e).c_str());
      if (e.status != VariableEstimate::Met && status == ExitAllMet) status = ExitNotAllMet;
    }
  }
  std::fflush(stdout);
  if (!_options.noPlots && written) {
    std::string message;
    if (!PlotWriter::Write(_options.outDir, finished, message) && !message.empty())
      std::cerr << "tavrin_run: " << message << std::endl;
  }
  if (written)
    std::cerr << "tavrin_run: results in " << _options.outDir << "/results.csv" << std::endl;
  else
    std::cerr << "tavrin_run: the results files were not written; what was received is in "
              << _options.outDir << "/campaign.sqlite, and tavrin_run --resume "
              << _options.outDir << " writes them once the fault is mended" << std::endl;
  // The manager's own cost, so it can be seen not to be the bottleneck.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  double wall = Now() - _started;
  char line[256];
  std::snprintf(line, sizeof line,
                "tavrin_run: %lld observations received in %.2f s (%.0f per second); the manager "
                "used %.2f s of processor time (%.1f%% of one core)",
                _received, wall, wall > 0 ? static_cast<double>(_received) / wall : 0.0, cpu,
                wall > 0 ? 100.0 * cpu / wall : 0.0);
  std::cerr << line << std::endl;
  if (!_fatal.empty()) {
    std::cerr << _fatal << std::endl;
    return ExitFatal;
  }
  if (_interrupted) return ExitInterrupted;
  return status;
}
