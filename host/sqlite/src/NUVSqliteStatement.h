#pragma once
#include <utility>

struct sqlite3_stmt;

// A prepared statement that finalizes itself; moves, never copies.
class NUVSqliteStatement {
 public:
  NUVSqliteStatement() = default;
  NUVSqliteStatement(NUVSqliteStatement&& other) noexcept
      : statement_(std::exchange(other.statement_, nullptr)) {}
  NUVSqliteStatement& operator=(NUVSqliteStatement&&) = delete;
  NUVSqliteStatement(const NUVSqliteStatement&) = delete;
  NUVSqliteStatement& operator=(const NUVSqliteStatement&) = delete;
  ~NUVSqliteStatement();

  sqlite3_stmt* get() const { return statement_; }
  // The slot sqlite3_prepare_v2 fills; it must be empty.
  sqlite3_stmt** out() { return &statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};
