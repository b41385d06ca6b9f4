#ifndef TAVRIN_MANAGER_CAMPAIGNSTORE_H
#define TAVRIN_MANAGER_CAMPAIGNSTORE_H

#include <sqlite3.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// CampaignStore: the campaign database (SQLite), written as results arrive so that a crash
// or an interruption loses nothing received: the campaign's settings, the experiments and
// their globals, every client with its seed, and every observation (one row per report and
// variable, the values as a blob of native doubles). A campaign is resumed from it.
class CampaignStore {
 public:
  struct ClientRow {
    int experiment = 0;
    int client = 0;
    unsigned int seed = 0;
    std::string state;
    std::string reason;
  };
  // One stored run of observations: client, variable, values.
  struct Block {
    int client;
    int variable;
    std::vector<double> values;
  };

  CampaignStore() = default;
  ~CampaignStore();
  CampaignStore(const CampaignStore&) = delete;
  CampaignStore& operator=(const CampaignStore&) = delete;

  // Every operation returns true, or false with the reason in Error(), which names the file.
  bool Open(const std::string& path, bool mustExist);
  bool SetSetting(const std::string& key, const std::string& value);
  bool GetSettings(std::map<std::string, std::string>& out);
  bool PutExperiment(int number, const std::string& name,
                     const std::vector<std::pair<std::string, std::string>>& globals);
  bool SetExperimentStatus(int number, const std::string& status, const std::string& reason);
  bool PutClient(const ClientRow& row);
  bool SetClientState(int experiment, int client, const std::string& state,
                      const std::string& reason);
  // One data record of a client: every variable's values, in one transaction.
  bool PutObservations(int experiment, int client,
                       const std::vector<std::pair<int, const std::vector<double>*>>& rows);
  bool GetClients(int experiment, std::vector<ClientRow>& out);
  bool GetObservations(int experiment, std::vector<Block>& out);
  bool GetExperimentStatus(int number, std::string& status);

  const std::string& Error() const { return _error; }

 private:
  bool Exec(const char* sql);
  bool Fail(const char* what);
  bool Prepare(const char* sql, sqlite3_stmt** statement);

  sqlite3* _db = nullptr;
  std::string _path;
  std::string _error;
  sqlite3_stmt* _insertObservation = nullptr;
  std::map<std::pair<int, std::pair<int, int>>, long long> _nextFirst;   // next sequence number
};

#endif
