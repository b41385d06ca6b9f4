#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ProcessRunner.h"
#include "RunningProcess.h"
#include "platform/TavrinSocket.h"

// The study manager run as a user runs it: on the M/M/1/K and availability simulators
// against closed forms, and on a stand-in simulator that misbehaves in each way a client
// can, checking that the manager neither hangs nor reports a wrong answer as a right one.

namespace {

const char kFixture[] = TAVRIN_TEST_FIXTURES "/mm1k_sim.study.json";

// One row of results.csv, by column name.
using Row = std::map<std::string, std::string>;

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    else if (c == ',' && !quoted) {
      fields.push_back(field);
      field.clear();
    } else field += c;
  }
  fields.push_back(field);
  return fields;
}

std::vector<Row> ReadResults(const std::string& path) {
  std::istringstream in(ReadFile(path));
  std::string line;
  std::vector<Row> rows;
  if (!std::getline(in, line)) return rows;
  std::vector<std::string> header = SplitCsvLine(line);
  while (std::getline(in, line)) {
    std::vector<std::string> fields = SplitCsvLine(line);
    Row row;
    for (size_t i = 0; i < header.size() && i < fields.size(); i++) row[header[i]] = fields[i];
    rows.push_back(row);
  }
  return rows;
}

// A first port that differs between test programs running at once.
std::string Port() {
  static int next = 30000 + static_cast<int>(getpid() % 100) * 300;
  next += 120;
  return std::to_string(next);
}

// mm1k_sim with its study description beside it, as the generator will leave it.
std::string Mm1kWithStudy(const std::string& dir) {
  std::string sim = dir + "/mm1k_sim";
  EXPECT_EQ(symlink(BinPath("mm1k_sim").c_str(), sim.c_str()), 0);
  std::ofstream(sim + ".study.json") << ReadFile(kFixture);
  return sim;
}

double Mm1kMeasure(double rho, int K, const std::string& name) {
  std::vector<double> p(K + 1);
  double sum = 0.0;
  for (int n = 0; n <= K; n++) sum += (p[n] = std::pow(rho, n));
  double number = 0.0;
  for (int n = 0; n <= K; n++) number += n * p[n] / sum;
  if (name == "NumberInSystem") return number;
  if (name == "Utilization" || name == "Throughput") return 1.0 - p[0] / sum;   // mu = 1
  return p[K] / sum;
}

// A variable that showed one value throughout (blocking at K = 100, about 4e-11) has an
// interval of width 0, accepted only under an absolute tolerance, which then bounds its error.
void ExpectInside(const Row& row, double expected, double absTol = 0.0) {
  double mean = std::stod(row.at("mean"));
  double half = std::stod(row.at("halfwidth"));
  if (half == 0.0) half = absTol;
  EXPECT_TRUE(mean - half <= expected && expected <= mean + half)
      << "experiment " << row.at("experiment") << " " << row.at("variable_name") << ": expected "
      << expected << ", interval [" << mean - half << ", " << mean + half << "]";
}

long long CountRows(const std::string& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(handle);   // a failed open still allocates its handle
    return -1;
  }
  sqlite3_stmt* s = nullptr;
  long long n = -1;
  if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    n = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  sqlite3_close(handle);
  return n;
}

// Processes whose command line holds every one of the words, e.g. a simulator and its port.
int ProcessesWith(const std::vector<std::string>& words) {
  int found = 0;
  DIR* proc = opendir("/proc");
  for (dirent* entry = readdir(proc); entry != nullptr; entry = readdir(proc)) {
    std::string name = entry->d_name;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string cmdline = ReadFile("/proc/" + name + "/cmdline");
    for (char& c : cmdline)
      if (c == '\0') c = ' ';
    bool all = !cmdline.empty();
    for (const std::string& w : words) all = all && cmdline.find(w) != std::string::npos;
    found += all;
  }
  closedir(proc);
  return found;
}

// Clients of program started by a manager given --port port: each is told a first port of
// its own from there (-p port, port + 1, ...).
int ClientsFrom(const std::string& program, const std::string& port) {
  int found = 0;
  int first = std::stoi(port);
  for (int p = first; p < first + 100; p++) found += ProcessesWith({program, "-p " + std::to_string(p) + " "});
  return found;
}

std::vector<std::string> StandIn(const std::string& mode, const std::string& faulty = "") {
  std::vector<std::string> env = {"TAVRIN_STANDIN_MODE=" + mode};
  if (!faulty.empty()) env.push_back("TAVRIN_STANDIN_FAULTY=" + faulty);
  return env;
}

// Starts a one-client campaign of the stand-in simulator in out that cannot meet its target,
// and kills its manager outright once rows observation rows are stored.
void KillCampaignAfter(const std::string& dir, const std::string& out, int rows) {
  RunningProcess first("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0", "--precision", "0.0001",
                                      "--jobs", "1", "--port", Port(), "--no-plots", "--quiet", "--out", out},
                       dir);
  for (int i = 0; i < 100 && CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM observations") < rows; i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  first.Signal(SIGKILL);
  first.Finish(15000);
}

}  // namespace

// Every mm1k experiment in steady state to 2% (blocking, near 0 at rho 0.5, to 0.0005
// absolutely), each closed form inside its 99% interval. The seed is fixed, so the run is
// the same every time.
TEST(ManagerValidation, Mm1kSteadyStateEveryExperimentHoldsItsClosedForms) {
  std::string dir = MakeTempDir();
  std::string sim = Mm1kWithStudy(dir);
  ProcessResult r = RunProgram("tavrin_run", {sim, "--steady-state", "--precision", "0.02",
                                              "--abs-tol", "0.0005", "--confidence", "0.99",
                                              "--jobs", "2", "--seed", "3", "--port", Port(),
                                              "--out", dir + "/out", "--no-plots"});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  std::vector<Row> rows = ReadResults(dir + "/out/results.csv");
  ASSERT_EQ(rows.size(), 16u);
  for (const Row& row : rows) {
    EXPECT_EQ(row.at("status"), "met");
    ExpectInside(row, Mm1kMeasure(std::stod(row.at("lambda")), std::stoi(row.at("K")),
                                  row.at("variable_name")),
                 0.0005);
    double relative = std::stod(row.at("relative_halfwidth"));
    EXPECT_TRUE(relative <= 0.02 || std::stod(row.at("halfwidth")) <= 0.0005) << row.at("variable_name");
  }
}

// The availability model has no study description: the experiments are listed. Every
// measure to 2%, inside its 99% interval; the same campaign twice gives the same results.
TEST(ManagerValidation, AvailabilityTerminatingHoldsTheClosedFormsAndRepeats) {
  std::string dir = MakeTempDir();
  std::vector<std::string> args = {BinPath("availability_sim"), "--experiments", "0-1",
                                   "--precision", "0.02", "--confidence", "0.99", "--jobs", "2",
                                   "--seed", "11", "--no-plots", "--port", Port()};
  std::vector<std::string> first = args, second = args;
  first.insert(first.end(), {"--out", dir + "/a"});
  second.insert(second.end(), {"--out", dir + "/b"});
  ProcessResult r = RunProgram("tavrin_run", first);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const double rates[2][2] = {{1.0, 4.0}, {0.5, 0.5}};
  const double instants[3] = {0.1, 0.5, 2.0};
  std::vector<Row> rows = ReadResults(dir + "/a/results.csv");
  ASSERT_EQ(rows.size(), 10u);
  for (const Row& row : rows) {
    int e = std::stoi(row.at("experiment"));
    int v = std::stoi(row.at("variable"));
    double l = rates[e][0], m = rates[e][1], s = l + m;
    double expected = v < 3 ? m / s + l / s * std::exp(-s * instants[v])
                            : m / s * 1.5 + l / (s * s) * (1.0 - std::exp(-s * 1.5));
    if (v == 4) expected /= 1.5;
    EXPECT_EQ(row.at("status"), "met");
    ExpectInside(row, expected);
  }
  ProcessResult again = RunProgram("tavrin_run", second);
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ReadFile(dir + "/a/results.csv"), ReadFile(dir + "/b/results.csv"));
}

// The clients run with the overridden value, so the results, the database and the
// experiment's name carry it: the estimate is the M/M/1/10 queue's at rho = 0.5 (L =
// 1 - 11/2047), not the rho = 0.8 of the study's experiment.
TEST(ManagerOverride, ResultsNameTheOverriddenValuesTheClientsRanWith) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("tavrin_run", {BinPath("mm1k_sim"), "--steady-state", "--experiments", "1",
                                              "--override", "d:lambda:0.5", "--precision", "0.05",
                                              "--no-plots", "--port", Port(), "--out", dir + "/out"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<Row> rows = ReadResults(dir + "/out/results.csv");
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].at("experiment_name"), "rho=0.8 with lambda=0.5");
  EXPECT_EQ(rows[0].at("lambda"), "0.5");
  EXPECT_EQ(rows[0].at("variable_name"), "NumberInSystem");
  EXPECT_NEAR(std::stod(rows[0].at("mean")), 1.0 - 11.0 / 2047.0, 0.05);
  EXPECT_EQ(CountRows(dir + "/out/campaign.sqlite",
                      "SELECT COUNT(*) FROM globals WHERE name = 'lambda' AND value = '0.5'"),
            1);
}

// A stored campaign continued with a tighter precision adds observations; continued with
// the precision it already has, it reruns nothing.
TEST(ManagerResume, TighterPrecisionAddsObservationsAndMetTargetsRunNothing) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("availability_sim"), "--experiments", "0",
                                              "--precision", "0.05", "--no-plots", "--port",
                                              Port(), "--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  long long before = std::stoll(ReadResults(out + "/results.csv").at(0).at("observations"));
  r = RunProgram("tavrin_run", {"--resume", out, "--precision", "0.02", "--no-plots"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<Row> rows = ReadResults(out + "/results.csv");
  EXPECT_GT(std::stoll(rows.at(0).at("observations")), before);
  long long clients = CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients");
  r = RunProgram("tavrin_run", {"--resume", out, "--precision", "0.02", "--no-plots"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("already meets the target"), std::string::npos) << r.err;
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients"), clients);
}

// A client killed mid-run keeps what it sent; a fresh client takes its place and the
// experiment still reaches its precision.
TEST(ManagerFaults, KilledClientIsReplacedAndItsObservationsKept) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--precision", "0.01", "--jobs", "1", "--no-plots",
                                              "--port", Port(), "--out", dir + "/out"},
                               "", StandIn("die", "1"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("client 0: ended during the run (killed by signal 9"), std::string::npos) << r.err;
  std::string db = dir + "/out/campaign.sqlite";
  EXPECT_EQ(CountRows(db, "SELECT COUNT(*) FROM clients WHERE client = 0 AND state = 'failed'"), 1);
  EXPECT_GT(CountRows(db, "SELECT COUNT(*) FROM observations WHERE client = 0"), 0);
  Row row = ReadResults(dir + "/out/results.csv").at(0);
  EXPECT_EQ(row.at("status"), "met");
  EXPECT_EQ(row.at("clients"), "2");
}

// A client that never announces its port is ended after the time-out and replaced; when
// every replacement does the same, the experiment is reported failed with the reason.
TEST(ManagerFaults, ClientThatNeverAnnouncesEndsInAFailedExperiment) {
  std::string dir = MakeTempDir();
  std::string port = Port();
  auto start = std::chrono::steady_clock::now();
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--client-timeout", "0.5", "--max-replacements",
                                              "2", "--no-plots", "--port", port, "--out",
                                              dir + "/out"},
                               "", StandIn("silent"));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_LT(seconds, 10.0);
  EXPECT_NE(r.err.find("client 2: announced no port within 0.5 s (a large model may take longer to "
                       "build: allow it more with --client-timeout)"),
            std::string::npos) << r.err;
  EXPECT_NE(ReadFile(dir + "/out/results.json").find("\"status\": \"failed\""), std::string::npos);
  EXPECT_EQ(ClientsFrom("stand_in_sim", port), 0);
}

// Bytes that are no message end that client, not the manager; so does a client that goes
// quiet. Replacements finish the experiment.
TEST(ManagerFaults, GarbageOrSilenceEndsTheClientNotTheManager) {
  for (const char* mode : {"garbage", "mute"}) {
    std::string dir = MakeTempDir();
    ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                                "--client-timeout", "1", "--no-plots", "--port",
                                                Port(), "--out", dir + "/out"},
                                 "", StandIn(mode, "1"));
    EXPECT_EQ(r.exitCode, 0) << mode << ": " << r.err;
    std::string expected = std::string(mode) == "garbage" ? "client 0: sent malformed data"
                                                          : "client 0: sent nothing for 1 s";
    EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    EXPECT_EQ(ReadResults(dir + "/out/results.csv").at(0).at("status"), "met") << mode;
  }
}

// A simulator that rejects its arguments ends the campaign at once with its own message.
TEST(ManagerFaults, SimulatorRejectingItsArgumentsEndsTheCampaignWithItsMessage) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0-3",
                                              "--no-plots", "--port", Port(), "--out",
                                              dir + "/out"},
                               "", StandIn("reject"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("the simulator ended before announcing its port (exited with status 1)"),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("ERROR: Parsing command line options"), std::string::npos) << r.err;
}

// A client that finds no free port (other programs hold every port it tries) exits with a
// failure status; it is one client's failure, replaced like any other, with the reason
// named, not an end of the campaign.
TEST(ManagerFaults, ClientWithNoFreePortIsReplacedNotTheCampaignsEnd) {
  std::string dir = MakeTempDir();
  // 101 ports in a row held here: the client's 100 and the next, so none can be found.
  int first = 0;
  std::vector<std::unique_ptr<TavrinSocket>> holders;
  for (int attempt = 0; attempt < 50 && holders.size() < 101; attempt++) {
    holders.clear();
    first = std::stoi(Port());
    for (int p = first; p < first + 101; p++) {
      holders.emplace_back(new TavrinSocket(true));
      if (!holders.back()->Bind(p, "127.0.0.1")) break;
    }
  }
  ASSERT_EQ(holders.size(), 101u) << "no 101 free ports in a row";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("mm1k_sim"), "--steady-state", "--experiments", "1",
                                              "--jobs", "1", "--max-replacements", "1", "--no-plots",
                                              "--port", std::to_string(first), "--out", dir + "/out"});
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_NE(r.err.find("client 1: found no free port among the 100 from " + std::to_string(first)),
            std::string::npos) << r.err;
  EXPECT_EQ(CountRows(dir + "/out/campaign.sqlite", "SELECT COUNT(*) FROM clients WHERE state = 'failed'"), 2);
}

// Ctrl-C: every client is told to quit, what was received is kept and the results are
// written, the exit status is 130 and no simulator is left running.
TEST(ManagerInterrupt, CtrlCEndsClientsWritesResultsAndExits130) {
  std::string dir = MakeTempDir();
  std::string sim = Mm1kWithStudy(dir);
  std::string port = Port();
  RunningProcess manager("tavrin_run", {sim, "--steady-state", "--precision", "0.0001",
                                        "--jobs", "2", "--port", port, "--no-plots", "--out",
                                        dir + "/out"},
                         dir);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(ClientsFrom("mm1k_sim", port), 2);
  manager.Signal(SIGINT);
  ProcessResult r = manager.Finish(15000);
  EXPECT_EQ(r.exitCode, 130) << r.err;
  EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
  EXPECT_EQ(ClientsFrom("mm1k_sim", port), 0);
  EXPECT_GT(CountRows(dir + "/out/campaign.sqlite", "SELECT COUNT(*) FROM observations"), 0);
  std::vector<Row> rows = ReadResults(dir + "/out/results.csv");
  ASSERT_FALSE(rows.empty());
  for (const Row& row : rows) EXPECT_NE(row.at("status"), "met");
}

// A campaign database that stops growing mid-run (a file size limit of 1000 blocks stands in
// for a full disk) ends the campaign with the reason and a non-zero status; what was stored
// before stays readable, the results say the target was not met, and no client is left.
TEST(ManagerFaults, FullDiskForTheDatabaseEndsTheCampaignWithTheReason) {
  std::string dir = MakeTempDir();
  std::string port = Port();
  std::string command = "ulimit -f 1000; exec " + BinPath("tavrin_run") + " " + BinPath("stand_in_sim") +
                        " --experiments 0 --precision 0.0001 --jobs 2 --no-plots --port " + port +
                        " --out " + dir + "/out";
  ProcessResult r = RunProgram("/bin/sh", {"-c", command}, "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("campaign database " + dir + "/out/campaign.sqlite"), std::string::npos) << r.err;
  EXPECT_EQ(ClientsFrom("stand_in_sim", port), 0);
  EXPECT_GT(CountRows(dir + "/out/campaign.sqlite", "SELECT COUNT(*) FROM observations"), 10);
  EXPECT_EQ(ReadResults(dir + "/out/results.csv").at(0).at("status"), "not met");
}

// Results files that cannot be written (here results.csv is a folder) are named, the exit
// status is 1, and the manager does not claim results it did not write; once the fault is
// mended a resume writes them from the database without running anything.
TEST(ManagerFaults, UnwrittenResultsAreNotClaimed) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ASSERT_EQ(mkdir(out.c_str(), 0777), 0);
  ASSERT_EQ(mkdir((out + "/results.csv").c_str(), 0777), 0);
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--no-plots", "--port", Port(), "--out", out},
                               "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("cannot write " + out + "/results.csv"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("results in "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the results files were not written"), std::string::npos) << r.err;
  EXPECT_NE(access((out + "/results.csv.tmp").c_str(), F_OK), 0) << "the temporary copy was left behind";
  ASSERT_EQ(rmdir((out + "/results.csv").c_str()), 0);
  r = RunProgram("tavrin_run", {"--resume", out, "--no-plots"}, "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("results in " + out + "/results.csv"), std::string::npos) << r.err;
  EXPECT_EQ(ReadResults(out + "/results.csv").at(0).at("status"), "met");
}

// Clients through a launcher: an ssh-like one with {host} runs each client's command line
// through a shell on the named host (here this one), taking the hosts in turn; an srun-like
// one reports the host the client runs on.
TEST(ManagerLauncher, SshAndSrunStyleLaunchersRunEveryClient) {
  std::string dir = MakeTempDir();
  std::string ssh = dir + "/stand_in_ssh";
  std::ofstream(ssh) << "#!/bin/sh\nhost=$1; shift\necho \"$host\" >> " << dir << "/hosts.log\n"
                     << "exec sh -c \"$*\"\n";
  std::string srun = dir + "/stand_in_srun";
  std::ofstream(srun) << "#!/bin/sh\necho srun >> " << dir << "/hosts.log\nexec \"$@\"\n";
  chmod(ssh.c_str(), 0755);
  chmod(srun.c_str(), 0755);
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--jobs", "2", "--launcher", ssh + " {host}",
                                              "--hosts", "localhost,127.0.0.1", "--no-plots",
                                              "--port", Port(), "--out", dir + "/ssh"},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string hosts = ReadFile(dir + "/hosts.log");   // the two start at once, in either order
  EXPECT_TRUE(hosts == "localhost\n127.0.0.1\n" || hosts == "127.0.0.1\nlocalhost\n") << hosts;
  r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0", "--jobs", "1",
                                "--launcher", srun, "--no-plots", "--port", Port(), "--out",
                                dir + "/srun"},
                 "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadResults(dir + "/srun/results.csv").at(0).at("status"), "met");
}

// Through ssh a client's words pass two shells, the local one and the remote one: each
// word must reach the simulator as it was given, so an override with a space, a '#' or a
// ';' neither cuts the command line short nor runs a command of its own.
TEST(ManagerLauncher, SshStyleLauncherDeliversEveryWordIntact) {
  std::string dir = MakeTempDir();
  std::string ssh = dir + "/stand_in_ssh";
  std::ofstream(ssh) << "#!/bin/sh\nshift\nexec sh -c \"$*\"\n";   // as ssh: words joined, one shell
  std::string sim = dir + "/logging_sim";
  std::ofstream(sim) << "#!/bin/sh\nprintf '[%s]\\n' \"$@\" >> " << dir << "/args.log\nexec "
                     << BinPath("stand_in_sim") << " \"$@\"\n";
  chmod(ssh.c_str(), 0755);
  chmod(sim.c_str(), 0755);
  const std::string tricky = "d:x:1 # it's; touch " + dir + "/ran";
  ProcessResult r = RunProgram("tavrin_run", {sim, "--experiments", "0", "--jobs", "1", "--launcher",
                                              ssh + " {host}", "--hosts", "localhost", "--override", tricky,
                                              "--no-plots", "--port", Port(), "--out", dir + "/out"},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string args = ReadFile(dir + "/args.log");
  EXPECT_NE(args.find("[-O]\n[" + tricky + "]\n"), std::string::npos) << args;
  EXPECT_NE(args.find("[-L]\n[0.0.0.0]\n"), std::string::npos) << args;
  EXPECT_NE(access((dir + "/ran").c_str(), F_OK), 0) << "the override ran a command";
}

// Without a study description "all" cannot be expanded, and the user is told why.
TEST(ManagerCommandLine, AllExperimentsNeedAStudyDescription) {
  ProcessResult r = RunProgram("tavrin_run", {BinPath("l2_cache_sim")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("must be listed with --experiments"), std::string::npos) << r.err;
  r = RunProgram("tavrin_run", {BinPath("availability_sim"), "--precision", "2"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("--precision needs a number between 0 and 1, not '2'"), std::string::npos) << r.err;
}

// An experiment list that is malformed, repeats a number or names an experiment the study
// does not have is a bad command line: exit status 2, with the list's fault named, and no
// folder made.
TEST(ManagerCommandLine, BadExperimentListIsABadCommandLine) {
  std::string dir = MakeTempDir();
  std::string sim = Mm1kWithStudy(dir);
  const std::vector<std::pair<std::string, std::string>> lists = {
      {"3-1", "'3-1' is not an experiment number or range"},
      {"a", "'a' is not an experiment number or range"},
      {"7", "experiment 7 does not exist; the study has experiments 0 to 3"},
      {"0-2,1", "experiment 1 is listed twice"},
      {"0,,1", "has an empty element"}};
  for (const auto& list : lists) {
    ProcessResult r = RunProgram("tavrin_run", {sim, "--experiments", list.first, "--out",
                                                dir + "/out", "--quiet", "--port", Port()});
    EXPECT_EQ(r.exitCode, 2) << list.first << ": " << r.err;
    EXPECT_NE(r.err.find(list.second), std::string::npos) << r.err;
  }
  EXPECT_NE(access((dir + "/out").c_str(), F_OK), 0);
}

// A run kind the model has no variable for would run clients whose batches observe
// nothing, and wait for a precision that never comes: the campaign is refused before any
// client starts or any folder is made, naming the option that fits the model.
TEST(ManagerCommandLine, RunKindWithoutVariablesIsRefusedNamingTheOtherKind) {
  std::string out = MakeTempDir() + "/campaign";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("tandem_sim"), "--out", out, "--quiet"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("TANDEM has no terminating reward variable: run it with --steady-state"),
            std::string::npos)
      << r.err;
  EXPECT_NE(access(out.c_str(), F_OK), 0) << out << " was made";
  r = RunProgram("tavrin_run", {BinPath("availability_sim"), "--steady-state", "--out", out, "--quiet"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("has no steady-state reward variable: run it without --steady-state"),
            std::string::npos)
      << r.err;
}

// The plots are SVG drawn by gnuplot, named for the study description's variables; without
// gnuplot on the PATH the data and the script are still written, and the manager says how
// to draw them.
TEST(ManagerPlots, DrawsSvgWithGnuplotAndSaysHowWithoutIt) {
  std::string dir = MakeTempDir();
  std::vector<std::string> args = {BinPath("availability_sim"), "--experiments", "0", "--port", Port()};
  std::vector<std::string> with = args, without = args;
  with.insert(with.end(), {"--out", dir + "/with"});
  without.insert(without.end(), {"--out", dir + "/without"});
  ProcessResult r = RunProgram("tavrin_run", with);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadFile(dir + "/with/plots/experiment0_INTERVAL_AVAILABILITY.svg").find("<svg"), std::string::npos);
  r = RunProgram("tavrin_run", without, "", {"PATH=/nonexistent"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("draw them with: cd " + dir + "/without/plots && gnuplot plots.gp"),
            std::string::npos) << r.err;
  EXPECT_NE(ReadFile(dir + "/without/plots/plots.gp").find("experiment0_INTERVAL_AVAILABILITY.svg"), std::string::npos);
  EXPECT_FALSE(ReadFile(dir + "/without/plots/experiment0_INTERVAL_AVAILABILITY.dat").empty());
  EXPECT_TRUE(ReadFile(dir + "/without/plots/experiment0_INTERVAL_AVAILABILITY.svg").empty());
}

// An experiment that ended at its observation limit has nothing to add when resumed with the
// same limit: no client is started and its result, from every stored observation, stays.
TEST(ManagerResume, ExperimentAtItsObservationLimitIsNotRerun) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--precision", "0.001", "--max-obs", "500",
                                              "--report-size", "10", "--jobs", "2", "--no-plots",
                                              "--port", Port(), "--out", out},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 3) << r.err;
  Row before = ReadResults(out + "/results.csv").at(0);
  EXPECT_EQ(before.at("status"), "not met");
  long long clients = CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients");
  r = RunProgram("tavrin_run", {"--resume", out, "--no-plots", "--port", Port()}, "",
                 StandIn("good"));
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_NE(r.err.find("experiment 0 already reached the observation limit"), std::string::npos)
      << r.err;
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients"), clients);
  Row after = ReadResults(out + "/results.csv").at(0);
  EXPECT_GE(std::stoll(after.at("observations")), std::stoll(before.at("observations")));
  EXPECT_EQ(after.at("status"), "not met");
  r = RunProgram("tavrin_run", {"--resume", out, "--max-obs", "1000", "--no-plots", "--port",
                                Port()},
                 "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_GE(std::stoll(ReadResults(out + "/results.csv").at(0).at("observations")), 1000);
}

// A campaign started with a relative simulator path is resumed from another folder, naming
// the simulator by another path or not at all; once the simulator is gone, a resume is
// refused before anything is written and the stored results stay as they were.
// A simulator rebuilt or replaced since the campaign ran it would add observations of
// another model to the stored ones, under the stored names: such a resume is refused, and
// the stored results are left as they are.
TEST(ManagerResume, ChangedSimulatorIsRefused) {
  std::string dir = MakeTempDir();
  std::string sim = dir + "/sim";
  std::ofstream(sim, std::ios::binary) << ReadFile(BinPath("stand_in_sim"));
  ASSERT_EQ(chmod(sim.c_str(), 0755), 0);
  ProcessResult r = RunProgram("tavrin_run", {sim, "--experiments", "0", "--no-plots", "--port", Port(),
                                              "--out", dir + "/out"},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string results = ReadFile(dir + "/out/results.csv");
  std::ofstream(sim, std::ios::binary | std::ios::app) << '\n';   // still runs, other bytes
  r = RunProgram("tavrin_run", {"--resume", dir + "/out", "--precision", "0.001", "--no-plots"}, "",
                 StandIn("good"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("the simulator " + sim + " has changed since the campaign in " + dir + "/out ran it"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ReadFile(dir + "/out/results.csv"), results);
}

TEST(ManagerResume, RelativeSimulatorPathResumesFromAnotherFolder) {
  std::string dir = MakeTempDir();
  ASSERT_EQ(mkdir((dir + "/bin").c_str(), 0777), 0);
  ASSERT_EQ(symlink(BinPath("stand_in_sim").c_str(), (dir + "/bin/stand_in_sim").c_str()), 0);
  ProcessResult r = RunProgram("tavrin_run", {"bin/stand_in_sim", "--experiments", "0",
                                              "--no-plots", "--port", Port(), "--out", "out"},
                               dir, StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string out = dir + "/out";
  long long before = std::stoll(ReadResults(out + "/results.csv").at(0).at("observations"));
  std::string elsewhere = MakeTempDir();
  r = RunProgram("tavrin_run", {"--resume", out, "--precision", "0.01", "--no-plots"}, elsewhere,
                 StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<Row> rows = ReadResults(out + "/results.csv");
  EXPECT_EQ(rows.at(0).at("status"), "met");
  EXPECT_GT(std::stoll(rows.at(0).at("observations")), before);
  r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--resume", out, "--precision", "0.005",
                                "--no-plots"},
                 elsewhere, StandIn("good"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::string results = ReadFile(out + "/results.csv");
  ASSERT_EQ(rename((dir + "/bin").c_str(), (dir + "/gone").c_str()), 0);
  r = RunProgram("tavrin_run", {"--resume", out, "--precision", "0.001", "--no-plots"}, elsewhere,
                 StandIn("good"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot run the simulator '" + dir + "/bin/stand_in_sim'"), std::string::npos)
      << r.err;
  EXPECT_EQ(ReadFile(out + "/results.csv"), results);
}

// A simulator that cannot be executed (here a script naming no interpreter there is) fails
// the same way in every client: the campaign ends at once with the reason, and a resumed
// campaign keeps the results it had.
TEST(ManagerFaults, SimulatorThatCannotBeExecutedEndsTheCampaign) {
  std::string dir = MakeTempDir();
  std::string sim = dir + "/sim";
  ASSERT_EQ(symlink(BinPath("stand_in_sim").c_str(), sim.c_str()), 0);
  ProcessResult r = RunProgram("tavrin_run", {sim, "--experiments", "0", "--no-plots", "--port",
                                              Port(), "--out", dir + "/out"},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string results = ReadFile(dir + "/out/results.csv");
  ASSERT_EQ(unlink(sim.c_str()), 0);
  std::ofstream(sim) << "#!/nonexistent/interpreter\n";
  chmod(sim.c_str(), 0755);
  // As a campaign stored before simulators were fingerprinted, which would otherwise refuse
  // the changed file before any client starts.
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open((dir + "/out/campaign.sqlite").c_str(), &handle), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(handle, "DELETE FROM settings WHERE key = 'simulator_fingerprint'", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(handle);
  r = RunProgram("tavrin_run", {"--resume", dir + "/out", "--precision", "0.01", "--no-plots"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("exited with status 127"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("cannot run " + sim), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("are left as they were"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir + "/out/results.csv"), results);
  EXPECT_EQ(CountRows(dir + "/out/campaign.sqlite", "SELECT COUNT(*) FROM experiments"
                                                    " WHERE status = 'failed'"), 0);
}

// What a campaign runs belongs to it: a resume asking for another run kind, other
// experiments, seed, overrides, report size or folder is refused before anything is written,
// naming the option; the same values given again are accepted.
TEST(ManagerResume, ConflictingOptionsAreRefusedNamingTheOption) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--min-obs", "50", "--no-plots", "--port", Port(),
                                              "--out", out},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string results = ReadFile(out + "/results.csv");
  const std::vector<std::vector<std::string>> conflicts = {
      {"--steady-state"}, {"--experiments", "0-1"},     {"--seed", "2"},
      {"--override", "N=3"}, {"--report-size", "7"}, {"--out", dir + "/elsewhere"}};
  for (const std::vector<std::string>& option : conflicts) {
    std::vector<std::string> args = {"--resume", out, "--precision", "0.01", "--no-plots"};
    args.insert(args.end(), option.begin(), option.end());
    r = RunProgram("tavrin_run", args, "", StandIn("good"));
    EXPECT_EQ(r.exitCode, 2) << option[0] << ": " << r.err;
    EXPECT_NE(r.err.find(option[0] + " belongs to the campaign in " + out), std::string::npos)
        << r.err;
  }
  EXPECT_EQ(ReadFile(out + "/results.csv"), results);
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM settings"
                                                " WHERE key = 'precision' AND value LIKE '0.05%'"), 1);
  r = RunProgram("tavrin_run", {"--resume", out, "--terminating", "--experiments", "0", "--seed",
                                "1", "--override", "", "--no-plots", "--max-obs", "40"});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_NE(r.err.find("--max-obs 40 is below the stored --min-obs 50"), std::string::npos) << r.err;
  r = RunProgram("tavrin_run", {"--resume", out, "--terminating", "--experiments", "0", "--seed",
                                "1", "--override", "", "--no-plots", "--port", Port()},
                 "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("already meets the target"), std::string::npos) << r.err;
}

// While a campaign runs, a second manager on its folder (a resume, or a fresh campaign with
// the same --out) is refused at once and writes nothing; the first runs on undisturbed.
TEST(ManagerResume, CampaignStillRunningIsNotResumed) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  RunningProcess first("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                      "--precision", "0.0001", "--jobs", "1", "--port", Port(),
                                      "--no-plots", "--quiet", "--out", out},
                       dir);
  for (int i = 0; i < 100 && CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM observations") <= 0; i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ProcessResult r = RunProgram("tavrin_run", {"--resume", out, "--max-time", "2", "--no-plots",
                                              "--port", Port()});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("the campaign in " + out + " is being run by another tavrin_run"),
            std::string::npos)
      << r.err;
  r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0", "--no-plots",
                                "--port", Port(), "--out", out});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("is being run by another tavrin_run"), std::string::npos) << r.err;
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients"), 1);
  first.Signal(SIGINT);
  ProcessResult ended = first.Finish(15000);
  EXPECT_EQ(ended.exitCode, 130) << ended.err;
  EXPECT_EQ(ReadResults(out + "/results.csv").at(0).at("status"), "not met");
}

// A manager killed outright leaves its clients "running" in the database; the resumed
// campaign records them as ended with their manager, keeps what they sent, and goes on.
TEST(ManagerResume, ClientsOfAKilledManagerAreRecordedAsEnded) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  KillCampaignAfter(dir, out, 1);
  ASSERT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients WHERE state = 'running'"), 1);
  ProcessResult r = RunProgram("tavrin_run", {"--resume", out, "--max-obs", "2000", "--no-plots", "--port", Port()},
                               "", StandIn("good"));
  EXPECT_EQ(r.exitCode, 3) << r.err;   // stopped at the limit, the precision not met
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM clients WHERE state = 'running'"), 0);
  EXPECT_EQ(CountRows(out + "/campaign.sqlite",
                      "SELECT COUNT(*) FROM clients WHERE client = 0 AND state = 'ended'"
                      " AND reason = 'its manager was stopped'"),
            1);
}

// Clients go on sending until they are told to quit; what they sent past the level the
// experiment stopped at must not change its figures on a resume that runs nothing.
TEST(ManagerResume, ResumeThatRunsNothingKeepsTheFiguresTheCampaignEndedWith) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("repair_sim"), "--steady-state", "--experiments", "0",
                                              "--seed", "2", "--jobs", "4", "--no-plots", "--port", Port(),
                                              "--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<Row> before = ReadResults(out + "/results.csv");
  r = RunProgram("tavrin_run", {"--resume", out, "--no-plots", "--port", Port()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("already meets the target"), std::string::npos) << r.err;
  std::vector<Row> after = ReadResults(out + "/results.csv");
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); i++) {
    EXPECT_EQ(after[i].at("observations"), before[i].at("observations")) << after[i].at("variable_name");
    EXPECT_EQ(after[i].at("mean"), before[i].at("mean")) << after[i].at("variable_name");
  }
}

// A resume that runs nothing (the stored observations reach the limit) of a campaign whose
// manager was killed: the database says the experiment is done, as results.json does, and
// the plots are drawn from the stored observations, not left empty.
TEST(ManagerResume, ResumeThatRunsNothingMarksTheExperimentDoneAndDrawsItsPlots) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  KillCampaignAfter(dir, out, 3);
  ASSERT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM experiments WHERE status = 'pending'"), 1);
  ProcessResult r = RunProgram("tavrin_run", {"--resume", out, "--max-obs", "50", "--port", Port()}, "",
                               StandIn("good"));
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_NE(r.err.find("already reached the observation limit"), std::string::npos) << r.err;
  EXPECT_EQ(CountRows(out + "/campaign.sqlite", "SELECT COUNT(*) FROM experiments WHERE status = 'done'"), 1);
  std::string data = ReadFile(out + "/plots/experiment0_variable_0.dat");
  EXPECT_GT(std::count(data.begin(), data.end(), '\n'), 10) << data;
  EXPECT_NE(ReadFile(out + "/plots/experiment0_variable_0.svg").find("<svg"), std::string::npos) << r.err;
}

// A campaign database damaged by hand (a setting deleted, emptied of its value or made
// nonsense) is refused on resume with the setting named, never a crash.
TEST(ManagerResume, DamagedSettingIsNamedNotACrash) {
  std::string dir = MakeTempDir();
  std::string out = dir + "/out";
  ProcessResult r = RunProgram("tavrin_run", {BinPath("stand_in_sim"), "--experiments", "0",
                                              "--no-plots", "--port", Port(), "--out", out},
                               "", StandIn("good"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string db = out + "/campaign.sqlite";
  const std::vector<std::pair<std::string, std::string>> damages = {
      {"seed", "DELETE FROM settings WHERE key = 'seed'"},
      {"seed", "UPDATE settings SET value = NULL WHERE key = 'seed'"},
      {"report_size", "UPDATE settings SET value = 'ten' WHERE key = 'report_size'"},
      {"port", "UPDATE settings SET value = '99999999999999999999' WHERE key = 'port'"},
      {"precision", "UPDATE settings SET value = '0.05x' WHERE key = 'precision'"},
      {"max-obs", "UPDATE settings SET value = '' WHERE key = 'max-obs'"},
      {"kind", "UPDATE settings SET value = 'sideways' WHERE key = 'kind'"},
      {"experiments", "UPDATE settings SET value = '0,,1' WHERE key = 'experiments'"},
      {"simulator", "DELETE FROM settings WHERE key = 'simulator'"}};
  for (const auto& damage : damages) {
    std::string copy = dir + "/" + damage.first + std::to_string(&damage - damages.data());
    ASSERT_EQ(mkdir(copy.c_str(), 0777), 0);
    std::ofstream(copy + "/campaign.sqlite", std::ios::binary) << ReadFile(db);
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open((copy + "/campaign.sqlite").c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle, damage.second.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(handle);
    r = RunProgram("tavrin_run", {"--resume", copy, "--no-plots"}, "", StandIn("good"));
    EXPECT_EQ(r.exitCode, 1) << damage.second << ": " << r.err;
    EXPECT_NE(r.err.find("campaign database " + copy + "/campaign.sqlite: setting '" +
                         damage.first + "' is missing or malformed"),
              std::string::npos)
        << damage.second << ": " << r.err;
  }
}
