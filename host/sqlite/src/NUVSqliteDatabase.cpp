#include "NUVSqliteDatabase.h"

#include <sqlite3.h>

#include <vector>

#include "NUVSqliteStatement.h"

NUVSqliteDatabase::NUVSqliteDatabase(sqlite3* connection, NUVSqliteTextMode textMode)
    : connection_(connection), textMode_(textMode) {
  LoadSchema();
}

NUVSqliteDatabase::~NUVSqliteDatabase() { sqlite3_close(connection_); }

namespace {

std::vector<std::string> TableNames(sqlite3* connection) {
  std::vector<std::string> names;
  NUVSqliteStatement statement;
  if (sqlite3_prepare_v2(connection, "SELECT name FROM sqlite_schema WHERE type = 'table'", -1,
                         statement.out(), nullptr) != SQLITE_OK) {
    return names;
  }
  while (sqlite3_step(statement.get()) == SQLITE_ROW) {
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
  }
  return names;
}

// The number SQLite adds one to on every change of the schema; -1 when
// it cannot be read.
long long SchemaVersion(sqlite3* connection) {
  NUVSqliteStatement statement;
  if (sqlite3_prepare_v2(connection, "PRAGMA schema_version", -1, statement.out(), nullptr) != SQLITE_OK ||
      sqlite3_step(statement.get()) != SQLITE_ROW) {
    return -1;
  }
  return sqlite3_column_int64(statement.get(), 0);
}

// The one primary-key column of the table; empty when it has none or more.
std::string PrimaryKeyColumn(sqlite3* connection, const std::string& table) {
  NUVSqliteStatement statement;
  const std::string sql = "SELECT name FROM pragma_table_info(?) WHERE pk > 0";
  if (sqlite3_prepare_v2(connection, sql.c_str(), -1, statement.out(), nullptr) != SQLITE_OK) return {};
  sqlite3_bind_text(statement.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  std::vector<std::string> columns;
  while (sqlite3_step(statement.get()) == SQLITE_ROW) {
    columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
  }
  return columns.size() == 1 ? columns.front() : std::string();
}

}  // namespace

void NUVSqliteDatabase::LoadSchema() {
  const long long version = SchemaVersion(connection_);
  if (version >= 0 && version == schemaVersion_) return;
  schemaVersion_ = version;
  keys_.clear();
  for (const std::string& table : TableNames(connection_))
    keys_[table] = PrimaryKeyColumn(connection_, table);
}

std::string NUVSqliteDatabase::KeyColumn(const std::string& table) const {
  auto found = keys_.find(table);
  return found == keys_.end() ? std::string() : found->second;
}

std::string NUVSqliteDatabase::LastMessage() const { return sqlite3_errmsg(connection_); }

NUVHostFailure NUVSqliteDatabase::LastFailure() const {
  using Kind = NUVHostFailureKind;
  Kind kind = Kind::StatementFailed;
  switch (sqlite3_errcode(connection_)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_INTERRUPT:
      kind = Kind::Timeout;  // another connection held the lock past the wait, or the call was cancelled
      break;
    case SQLITE_READONLY:
      kind = Kind::ReadOnly;
      break;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
      kind = Kind::Unreachable;
      break;
    default:
      break;
  }
  return {kind, {}, LastMessage()};
}
