#include "NUVSqliteHost.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <utility>

#include "NUVSession.h"
#include "NUVSqliteQueryRunner.h"
#include "NUVSqliteSample.h"
#include "NUVSqliteSession.h"

namespace {

// Opens a connection; null, with SQLite's reason, when it cannot. A host is
// used by one thread at a time, so the connection goes without SQLite's
// per-connection mutex.
sqlite3* Connect(const std::string& path, int flags, std::string& message) {
  sqlite3* connection = nullptr;
  if (sqlite3_open_v2(path.c_str(), &connection, flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    message = connection ? sqlite3_errmsg(connection) : "out of memory";
    sqlite3_close(connection);
    return nullptr;
  }
  return connection;
}

bool LoadSample(sqlite3* connection, std::string& message) {
  char* error = nullptr;
  if (sqlite3_exec(connection, NUVSqliteSampleSql(), nullptr, nullptr, &error) == SQLITE_OK) return true;
  message = error ? error : "the sample database could not be loaded";
  sqlite3_free(error);
  return false;
}

// The database's application id; 0 when it has none or it cannot be read.
int32_t ApplicationId(sqlite3* connection) {
  sqlite3_stmt* statement = nullptr;
  int32_t id = 0;
  if (sqlite3_prepare_v2(connection, "PRAGMA application_id", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    id = sqlite3_column_int(statement, 0);
  }
  sqlite3_finalize(statement);
  return id;
}

bool MarkEncoded(sqlite3* connection, std::string& message) {
  const std::string pragma = "PRAGMA application_id = " + std::to_string(kNUVSqliteEncodedApplicationId);
  if (sqlite3_exec(connection, pragma.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  message = sqlite3_errmsg(connection);
  return false;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// A connection that is closed unless it is handed over.
struct Connection {
  sqlite3* handle = nullptr;
  explicit Connection(sqlite3* adopted) : handle(adopted) {}
  Connection(const Connection&) = delete;  // a copy would close the database twice
  Connection& operator=(const Connection&) = delete;
  ~Connection() { sqlite3_close(handle); }
  sqlite3* Release() { return std::exchange(handle, nullptr); }
};

}  // namespace

NUVSqliteHost::NUVSqliteHost(NUVSqliteSession* session) : session_(NUVAdopt(session)) {}

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::OpenFile(const std::string& path, std::string& message,
                                                       const NUVSqliteOpenOptions& options) {
  if (!Exists(path)) {
    message = "no database file " + path;
    return nullptr;
  }
  Connection connection{
      Connect(path, options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, message)};
  if (!connection.handle) return nullptr;
  sqlite3_busy_timeout(connection.handle, options.busyTimeoutMs);
  // Reading the schema proves the file is a database.
  if (sqlite3_exec(connection.handle, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    message = path + ": " + sqlite3_errmsg(connection.handle);
    return nullptr;
  }
  const NUVSqliteTextMode mode = options.textMode.value_or(
      ApplicationId(connection.handle) == kNUVSqliteEncodedApplicationId ? NUVSqliteTextMode::Encoded
                                                                         : NUVSqliteTextMode::Plain);
  auto database = std::make_shared<NUVSqliteDatabase>(connection.Release(), mode);
  return std::unique_ptr<NUVSqliteHost>(new NUVSqliteHost(new NUVSqliteSession(database)));
}

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::OpenSample(std::string& message) {
  Connection connection{Connect(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, message)};
  if (!connection.handle || !LoadSample(connection.handle, message)) return nullptr;
  auto database = std::make_shared<NUVSqliteDatabase>(connection.Release(), NUVSqliteTextMode::Encoded);
  return std::unique_ptr<NUVSqliteHost>(new NUVSqliteHost(new NUVSqliteSession(database)));
}

bool NUVSqliteHost::WriteSample(const std::string& path, std::string& message) {
  if (Exists(path)) {
    message = path + " exists already";
    return false;
  }
  Connection connection{Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, message)};
  if (!connection.handle) return false;
  if (LoadSample(connection.handle, message) && MarkEncoded(connection.handle, message)) return true;
  sqlite3_close(connection.Release());
  std::remove(path.c_str());
  return false;
}

NUVSqliteHost::~NUVSqliteHost() { Uninstall(); }

void NUVSqliteHost::Install() { NUVSetPtrSession(session_.get()); }

void NUVSqliteHost::Uninstall() {
  NUVSession* installed = nullptr;
  if (GetPtrSession(installed) >= 0 && installed == static_cast<NUVSession*>(session_.get()))
    NUVSetPtrSession(nullptr);
}

long NUVSqliteHost::Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
                        const NUVListPtrNUVBaseUnknown* headers) {
  return NUVSqliteQueryRunner(session_->Database()).Run(statement, table, headers);
}

long NUVSqliteHost::RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                                 const NUVSqliteBatchConsumer& consumer,
                                 const NUVListPtrNUVBaseUnknown* headers) {
  return NUVSqliteQueryRunner(session_->Database()).RunInBatches(statement, batchRows, consumer, headers);
}

NUVSqliteTextMode NUVSqliteHost::TextMode() const { return session_->Database().TextMode(); }

long NUVSqliteHost::ChangedRows() const { return session_->Database().LastChanges(); }

NUVIEdbSysQuery2* NUVSqliteHost::Query() const { return session_->Query(); }

std::string NUVSqliteHost::DatabaseName() const { return NUVSqliteSession::kDatabaseName; }

std::string NUVSqliteHost::KeyAttribute(const std::string& classType) const {
  return session_->Database().KeyColumn(classType);
}

std::vector<std::string> NUVSqliteHost::Reports() const {
  return {session_->Reports().begin(), session_->Reports().end()};
}
