#include "NUVSqliteHost.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <utility>

#include "NUVHostSession.h"
#include "NUVSqliteBackend.h"
#include "NUVSqliteSample.h"

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

// A session (one reference, the caller's; null when memory runs out) over
// the connection, which it takes over.
NUVHostSession* NewSession(sqlite3* connection, NUVSqliteTextMode textMode) {
  return new NUVHostSession(std::make_shared<NUVSqliteBackend>(connection, textMode));
}

}  // namespace

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::Adopt(NUVHostSession* session, std::string& message) {
  if (!session) {
    message = "no memory for a session";
    return nullptr;
  }
  return std::unique_ptr<NUVSqliteHost>(new NUVSqliteHost(session));
}

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
  return Adopt(NewSession(connection.Release(), mode), message);
}

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::OpenSample(std::string& message) {
  Connection connection{Connect(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, message)};
  if (!connection.handle || !LoadSample(connection.handle, message)) return nullptr;
  return Adopt(NewSession(connection.Release(), NUVSqliteTextMode::Encoded), message);
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
