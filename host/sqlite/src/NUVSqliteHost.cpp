#include "NUVSqliteHost.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <utility>

#include "NUVSession.h"
#include "NUVSqliteQueryRunner.h"
#include "NUVSqliteSample.h"
#include "NUVSqliteSession.h"

namespace {

// Opens a connection; null, with SQLite's reason, when it cannot.
sqlite3* Connect(const std::string& path, int flags, std::string& message) {
  sqlite3* connection = nullptr;
  if (sqlite3_open_v2(path.c_str(), &connection, flags | SQLITE_OPEN_EXRESCODE, nullptr) != SQLITE_OK) {
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

NUVSqliteHost::NUVSqliteHost(NUVSqliteSession* session) : session_(session) {}

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::OpenFile(const std::string& path, std::string& message) {
  if (!Exists(path)) {
    message = "no database file " + path;
    return nullptr;
  }
  Connection connection{Connect(path, SQLITE_OPEN_READWRITE, message)};
  if (!connection.handle) return nullptr;
  // Reading the schema proves the file is a database.
  if (sqlite3_exec(connection.handle, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    message = path + ": " + sqlite3_errmsg(connection.handle);
    return nullptr;
  }
  auto database = std::make_shared<NUVSqliteDatabase>(connection.Release());
  return std::unique_ptr<NUVSqliteHost>(new NUVSqliteHost(new NUVSqliteSession(database)));
}

std::unique_ptr<NUVSqliteHost> NUVSqliteHost::OpenSample(std::string& message) {
  Connection connection{Connect(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, message)};
  if (!connection.handle || !LoadSample(connection.handle, message)) return nullptr;
  auto database = std::make_shared<NUVSqliteDatabase>(connection.Release());
  return std::unique_ptr<NUVSqliteHost>(new NUVSqliteHost(new NUVSqliteSession(database)));
}

bool NUVSqliteHost::WriteSample(const std::string& path, std::string& message) {
  if (Exists(path)) {
    message = path + " exists already";
    return false;
  }
  Connection connection{Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, message)};
  if (!connection.handle) return false;
  if (LoadSample(connection.handle, message)) return true;
  sqlite3_close(connection.Release());
  std::remove(path.c_str());
  return false;
}

NUVSqliteHost::~NUVSqliteHost() {
  Uninstall();
  session_->Release();
}

void NUVSqliteHost::Install() { NUVSetPtrSession(session_); }

void NUVSqliteHost::Uninstall() {
  NUVSession* installed = nullptr;
  if (GetPtrSession(installed) >= 0 && installed == static_cast<NUVSession*>(session_))
    NUVSetPtrSession(nullptr);
}

long NUVSqliteHost::Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
                        const NUVListPtrNUVBaseUnknown* headers) {
  return NUVSqliteQueryRunner(session_->Database()).Run(statement, table, headers);
}

NUVIEdbSysQuery2* NUVSqliteHost::Query() const { return session_->Query(); }

std::string NUVSqliteHost::DatabaseName() const { return NUVSqliteSession::kDatabaseName; }

std::string NUVSqliteHost::KeyAttribute(const std::string& classType) const {
  return session_->Database().KeyColumn(classType);
}

std::vector<std::string> NUVSqliteHost::Reports() const {
  return {session_->Reports().begin(), session_->Reports().end()};
}
