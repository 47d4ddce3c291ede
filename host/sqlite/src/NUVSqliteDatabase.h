#pragma once
#include <map>
#include <string>

#include "NUVSqliteOpenOptions.h"

struct sqlite3;
struct sqlite3_stmt;

// An open SQLite connection and what the host knows of its schema: each
// table's primary-key column. Shared by the host's components; closes the
// connection when the last of them lets it go.
class NUVSqliteDatabase {
 public:
  // Takes over an open connection and reads its schema.
  NUVSqliteDatabase(sqlite3* connection, NUVSqliteTextMode textMode);
  ~NUVSqliteDatabase();
  NUVSqliteDatabase(const NUVSqliteDatabase&) = delete;
  NUVSqliteDatabase& operator=(const NUVSqliteDatabase&) = delete;

  sqlite3* Connection() const { return connection_; }
  NUVSqliteTextMode TextMode() const { return textMode_; }
  // The rows the last writing statement changed; -1 after a reading one.
  long LastChanges() const { return lastChanges_; }
  void SetLastChanges(long changes) { lastChanges_ = changes; }
  // Reads the tables and their primary-key columns again.
  void LoadSchema();
  // True when the schema has a table of that name.
  bool HasTable(const std::string& table) const { return keys_.count(table) > 0; }
  // The table's primary-key column; empty for an unknown table or one
  // without a single-column key.
  std::string KeyColumn(const std::string& table) const;
  // The last message SQLite gave on this connection.
  std::string LastMessage() const;

  // The identifier written as a quoted SQL name.
  static std::string Quoted(const std::string& identifier);

 private:
  sqlite3* connection_;
  NUVSqliteTextMode textMode_;
  long lastChanges_ = -1;
  std::map<std::string, std::string> keys_;
};

// A prepared statement that finalizes itself.
class NUVSqliteStatement {
 public:
  NUVSqliteStatement() = default;
  ~NUVSqliteStatement();
  NUVSqliteStatement(const NUVSqliteStatement&) = delete;
  NUVSqliteStatement& operator=(const NUVSqliteStatement&) = delete;
  sqlite3_stmt* get() const { return statement_; }
  sqlite3_stmt** out() { return &statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};
