#pragma once
#include <map>
#include <string>

#include "NUVHostFailure.h"
#include "NUVSqliteOpenOptions.h"

struct sqlite3;

// An open SQLite connection and what the host knows of its schema: each
// table's primary-key column. Closes the connection when it goes.
class NUVSqliteDatabase {
 public:
  // Takes over an open connection and reads its schema.
  NUVSqliteDatabase(sqlite3* connection, NUVSqliteTextMode textMode);
  ~NUVSqliteDatabase();
  NUVSqliteDatabase(const NUVSqliteDatabase&) = delete;
  NUVSqliteDatabase& operator=(const NUVSqliteDatabase&) = delete;

  sqlite3* Connection() const { return connection_; }
  NUVSqliteTextMode TextMode() const { return textMode_; }
  // Reads the tables and their primary-key columns again when the schema
  // changed since they were read (SQLite counts every change of it).
  void LoadSchema();
  // True when the schema has a table of that name.
  bool HasTable(const std::string& table) const { return keys_.count(table) > 0; }
  // The table's primary-key column; empty for an unknown table or one
  // without a single-column key.
  std::string KeyColumn(const std::string& table) const;
  // The last message SQLite gave on this connection.
  std::string LastMessage() const;
  // The last failure on the connection: its kind (a lock held past the
  // wait is a timeout, a write to a read-only database read-only) and
  // SQLite's message; SQLite gives no SQLSTATE.
  NUVHostFailure LastFailure() const;

 private:
  sqlite3* connection_;
  NUVSqliteTextMode textMode_;
  std::map<std::string, std::string> keys_;
  long long schemaVersion_ = -1;  // the schema's version when keys_ was read
};
