#include "CampaignStore.h"

#include <cstring>

namespace {

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value TEXT);"
    "CREATE TABLE IF NOT EXISTS experiments(number INTEGER PRIMARY KEY, name TEXT,"
    " status TEXT, reason TEXT);"
    "CREATE TABLE IF NOT EXISTS globals(experiment INTEGER, name TEXT, value TEXT,"
    " PRIMARY KEY(experiment, name));"
    "CREATE TABLE IF NOT EXISTS clients(experiment INTEGER, client INTEGER, seed INTEGER,"
    " state TEXT, reason TEXT, PRIMARY KEY(experiment, client));"
    "CREATE TABLE IF NOT EXISTS observations(experiment INTEGER, client INTEGER,"
    " variable INTEGER, first INTEGER, count INTEGER, data BLOB,"
    " PRIMARY KEY(experiment, client, variable, first));";

// A text column, "" for a NULL (a row damaged by hand has them).
std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

CampaignStore::~CampaignStore() {
  if (_insertObservation != nullptr) sqlite3_finalize(_insertObservation);
  if (_db != nullptr) sqlite3_close(_db);
}

bool CampaignStore::Fail(const char* what) {
  _error = "campaign database " + _path + ": " + what + ": " +
           (_db != nullptr ? sqlite3_errmsg(_db) : "cannot open");
  return false;
}

bool CampaignStore::Exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(_db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  _error = "campaign database " + _path + ": " + (message != nullptr ? message : "failed");
  sqlite3_free(message);
  return false;
}

bool CampaignStore::Prepare(const char* sql, sqlite3_stmt** statement) {
  if (sqlite3_prepare_v2(_db, sql, -1, statement, nullptr) == SQLITE_OK) return true;
  return Fail("cannot prepare a statement");
}

bool CampaignStore::Open(const std::string& path, bool mustExist) {
  _path = path;
  int flags = SQLITE_OPEN_READWRITE | (mustExist ? 0 : SQLITE_OPEN_CREATE);
  if (sqlite3_open_v2(path.c_str(), &_db, flags, nullptr) != SQLITE_OK) return Fail("cannot open");
  sqlite3_busy_timeout(_db, 2000);
  // A write-ahead log with normal syncing keeps every committed record through a crash of
  // the manager, without waiting for the disk at every record (only a power cut can lose
  // the last ones).
  if (!Exec("PRAGMA journal_mode=WAL;") || !Exec("PRAGMA synchronous=NORMAL;") || !Exec(kSchema))
    return false;
  if (mustExist) {
    sqlite3_stmt* s = nullptr;
    if (!Prepare("SELECT experiment, client, variable, MAX(first + count) FROM observations"
                 " GROUP BY experiment, client, variable", &s))
      return false;
    while (sqlite3_step(s) == SQLITE_ROW)
      _nextFirst[{sqlite3_column_int(s, 0), {sqlite3_column_int(s, 1), sqlite3_column_int(s, 2)}}] =
          sqlite3_column_int64(s, 3);
    sqlite3_finalize(s);
  }
  return Prepare("INSERT INTO observations VALUES(?, ?, ?, ?, ?, ?)", &_insertObservation);
}

bool CampaignStore::SetSetting(const std::string& key, const std::string& value) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("INSERT OR REPLACE INTO settings VALUES(?, ?)", &s)) return false;
  sqlite3_bind_text(s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 2, value.c_str(), -1, SQLITE_TRANSIENT);
  bool ok = sqlite3_step(s) == SQLITE_DONE;
  sqlite3_finalize(s);
  return ok || Fail("cannot write a setting");
}

bool CampaignStore::GetSettings(std::map<std::string, std::string>& out) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("SELECT key, value FROM settings", &s)) return false;
  // A NULL value is left out, as if the setting were missing.
  while (sqlite3_step(s) == SQLITE_ROW)
    if (sqlite3_column_type(s, 1) != SQLITE_NULL) out[Text(s, 0)] = Text(s, 1);
  sqlite3_finalize(s);
  return true;
}

bool CampaignStore::PutExperiment(int number, const std::string& name,
                                  const std::vector<std::pair<std::string, std::string>>& globals) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("INSERT OR IGNORE INTO experiments VALUES(?, ?, 'pending', '')", &s)) return false;
  sqlite3_bind_int(s, 1, number);
  sqlite3_bind_text(s, 2, name.c_str(), -1, SQLITE_TRANSIENT);
  bool ok = sqlite3_step(s) == SQLITE_DONE;
  sqlite3_finalize(s);
  if (!ok) return Fail("cannot write an experiment");
  for (const auto& g : globals) {
    if (!Prepare("INSERT OR REPLACE INTO globals VALUES(?, ?, ?)", &s)) return false;
    sqlite3_bind_int(s, 1, number);
    sqlite3_bind_text(s, 2, g.first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 3, g.second.c_str(), -1, SQLITE_TRANSIENT);
    ok = sqlite3_step(s) == SQLITE_DONE;
    sqlite3_finalize(s);
    if (!ok) return Fail("cannot write a global variable");
  }
  return true;
}

bool CampaignStore::SetExperimentStatus(int number, const std::string& status,
                                        const std::string& reason) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("UPDATE experiments SET status = ?, reason = ? WHERE number = ?", &s)) return false;
  sqlite3_bind_text(s, 1, status.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 2, reason.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(s, 3, number);
  bool ok = sqlite3_step(s) == SQLITE_DONE;
  sqlite3_finalize(s);
  return ok || Fail("cannot write an experiment's status");
}

bool CampaignStore::GetExperimentStatus(int number, std::string& status) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("SELECT status FROM experiments WHERE number = ?", &s)) return false;
  sqlite3_bind_int(s, 1, number);
  status = sqlite3_step(s) == SQLITE_ROW ? Text(s, 0) : "";
  sqlite3_finalize(s);
  return true;
}

bool CampaignStore::PutClient(const ClientRow& row) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("INSERT OR REPLACE INTO clients VALUES(?, ?, ?, ?, ?)", &s)) return false;
  sqlite3_bind_int(s, 1, row.experiment);
  sqlite3_bind_int(s, 2, row.client);
  sqlite3_bind_int64(s, 3, row.seed);
  sqlite3_bind_text(s, 4, row.state.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 5, row.reason.c_str(), -1, SQLITE_TRANSIENT);
  bool ok = sqlite3_step(s) == SQLITE_DONE;
  sqlite3_finalize(s);
  return ok || Fail("cannot write a client");
}

bool CampaignStore::SetClientState(int experiment, int client, const std::string& state,
                                   const std::string& reason) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("UPDATE clients SET state = ?, reason = ? WHERE experiment = ? AND client = ?", &s))
    return false;
  sqlite3_bind_text(s, 1, state.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 2, reason.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(s, 3, experiment);
  sqlite3_bind_int(s, 4, client);
  bool ok = sqlite3_step(s) == SQLITE_DONE;
  sqlite3_finalize(s);
  return ok || Fail("cannot write a client's state");
}

bool CampaignStore::PutObservations(
    int experiment, int client, const std::vector<std::pair<int, const std::vector<double>*>>& rows) {
  if (!Exec("BEGIN")) return false;
  for (const auto& row : rows) {
    long long& first = _nextFirst[{experiment, {client, row.first}}];
    sqlite3_reset(_insertObservation);
    sqlite3_bind_int(_insertObservation, 1, experiment);
    sqlite3_bind_int(_insertObservation, 2, client);
    sqlite3_bind_int(_insertObservation, 3, row.first);
    sqlite3_bind_int64(_insertObservation, 4, first);
    sqlite3_bind_int64(_insertObservation, 5, static_cast<long long>(row.second->size()));
    sqlite3_bind_blob(_insertObservation, 6, row.second->data(),
                      static_cast<int>(row.second->size() * sizeof(double)), SQLITE_STATIC);
    if (sqlite3_step(_insertObservation) != SQLITE_DONE) {
      Fail("cannot write observations");
      std::string error = _error;
      sqlite3_reset(_insertObservation);
      Exec("ROLLBACK");
      _error = error;
      return false;
    }
    first += static_cast<long long>(row.second->size());
  }
  if (Exec("COMMIT")) return true;
  std::string error = _error;
  Exec("ROLLBACK");
  _error = error;
  return false;
}

bool CampaignStore::GetClients(int experiment, std::vector<ClientRow>& out) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("SELECT client, seed, state, reason FROM clients WHERE experiment = ?"
               " ORDER BY client", &s))
    return false;
  sqlite3_bind_int(s, 1, experiment);
  while (sqlite3_step(s) == SQLITE_ROW) {
    ClientRow row;
    row.experiment = experiment;
    row.client = sqlite3_column_int(s, 0);
    row.seed = static_cast<unsigned int>(sqlite3_column_int64(s, 1));
    row.state = Text(s, 2);
    row.reason = Text(s, 3);
    out.push_back(row);
  }
  sqlite3_finalize(s);
  return true;
}

bool CampaignStore::GetObservations(int experiment, std::vector<Block>& out) {
  sqlite3_stmt* s = nullptr;
  if (!Prepare("SELECT client, variable, count, data FROM observations WHERE experiment = ?"
               " ORDER BY client, variable, first", &s))
    return false;
  sqlite3_bind_int(s, 1, experiment);
  while (sqlite3_step(s) == SQLITE_ROW) {
    Block block{sqlite3_column_int(s, 0), sqlite3_column_int(s, 1), {}};
    size_t count = static_cast<size_t>(sqlite3_column_int64(s, 2));
    const void* data = sqlite3_column_blob(s, 3);
    if (static_cast<size_t>(sqlite3_column_bytes(s, 3)) != count * sizeof(double)) {
      sqlite3_finalize(s);
      _error = "campaign database " + _path + ": an observation row of experiment " +
               std::to_string(experiment) + " is damaged";
      return false;
    }
    block.values.resize(count);
    if (count > 0) std::memcpy(block.values.data(), data, count * sizeof(double));
    out.push_back(std::move(block));
  }
  sqlite3_finalize(s);
  return true;
}
