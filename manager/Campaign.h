#ifndef TAVRIN_MANAGER_CAMPAIGN_H
#define TAVRIN_MANAGER_CAMPAIGN_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CampaignLock.h"
#include "CampaignStore.h"
#include "ClientConnection.h"
#include "ClientProcess.h"
#include "ExperimentRun.h"
#include "ProgressDisplay.h"
#include "RunOptions.h"
#include "StudyDescription.h"
#include "WireReader.h"

// Campaign: runs the experiments of a study with parallel clients on one thread: starts
// each client, reads its port announcement, connects, pools what it sends, replaces a
// client that fails, sends quit to the clients of an experiment once it is done and starts
// the next experiment in the freed places. Everything received goes to the campaign
// database at once; the results are written at the end, whatever ends the campaign.
class Campaign {
 public:
  // Exit statuses of tavrin_run.
  static const int ExitAllMet = 0;
  static const int ExitFatal = 1;
  static const int ExitUsage = 2;   // a bad command line
  static const int ExitNotAllMet = 3;
  static const int ExitExperimentFailed = 4;
  static const int ExitInterrupted = 130;

  explicit Campaign(RunOptions options);
  ~Campaign();

  // Runs the whole campaign and returns the exit status; messages go to the standard error.
  int Run();

  // Asks the running campaign to stop (Ctrl-C, SIGTERM): safe to call from a signal handler.
  static void RequestStop(int signal);
  // The seed of a client, derived from the campaign seed, so a campaign run twice gives the
  // same clients the same streams, and every client of a campaign its own.
  static unsigned int ClientSeed(unsigned long long campaignSeed, int experiment, int client);

 private:
  struct Client;

  bool Prepare();
  bool ReadStudy();
  bool PrepareFresh();
  bool PrepareResume();
  bool LoadExperiment(ExperimentRun& run);
  // A new run of experiment number, named and valued from the study description when there
  // is one, stopping by the campaign's precision settings.
  ExperimentRun& AddRun(int number);
  void Loop();
  void StartExperiments();
  bool StartClient(ExperimentRun& run, int clientNumber);
  void Poll();
  void Service(Client& client);
  void ReadFromClient(Client& client);
  // Pools a record's observations; true when the experiment has just met its stopping rule.
  bool HandleRecord(Client& client, const DataRecord& record);
  bool StorePending(Client& client);
  // The first port for a new client on host: the lowest from --port that no live client
  // of this manager on that host holds or may still take.
  int FreePortFor(const std::string& host) const;
  void ClientFailed(Client& client, const std::string& reason);
  void EndExperiment(ExperimentRun& run);
  bool StoreEnd(const ExperimentRun& run, const char* state);   // status and stop level
  void QuitClient(Client& client);
  void Shutdown();
  void Fatal(const std::string& message);
  void ShowProgress();
  int WriteResults();
  int ActiveClients() const;
  int ClientsOf(const ExperimentRun& run) const;
  ExperimentRun* RunOf(int experiment);
  std::vector<std::string> ClientArguments(const ExperimentRun& run, int clientNumber,
                                           unsigned int seed, int firstPort) const;

  RunOptions _options;
  StudyDescription _study;
  bool _haveStudy = false;
  CampaignLock _lock;           // held from before the database is opened to the end
  CampaignStore _store;
  std::vector<std::unique_ptr<ExperimentRun>> _runs;
  std::vector<std::unique_ptr<Client>> _clients;
  std::map<int, std::vector<double>> _pendingRows;   // variable -> values of one read, unstored
  std::map<int, int64_t> _stopLevels;   // experiment -> level a finished session stopped it at
  std::unique_ptr<ProgressDisplay> _progress;
  std::string _fatal;          // the message that ends the campaign, once set
  int _exitStatus = ExitFatal; // the exit status when the campaign cannot start
  bool _stopping = false;
  bool _interrupted = false;
  bool _resumed = false;       // continuing a stored campaign
  size_t _nextHost = 0;
  double _started = 0.0;
  long long _received = 0;   // observations received from all clients
};

#endif
