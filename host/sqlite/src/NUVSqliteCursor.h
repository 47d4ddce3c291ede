#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVSqliteStatement.h"

class NUVSqliteDatabase;

// A prepared SQLite statement read a row at a time. Values are read
// straight from the statement's columns, which is safe because the
// connection is used by one thread at a time.
class NUVSqliteCursor final : public NUVHostCursor {
 public:
  // Takes over a statement prepared on the database's connection.
  NUVSqliteCursor(const NUVSqliteDatabase& database, NUVSqliteStatement statement);

  const std::vector<NUVHostColumn>& Columns() const override { return columns_; }
  bool Writes() const override;
  // Steps the statement; after the last row it stays at the end.
  long Next(bool& row) override;
  // Numbers come without their text; NumberText gives it.
  NUVHostValue Value(size_t column) const override;
  // The number as SQLite writes it as text (0.1, not 0.10000000000000001).
  std::string_view NumberText(size_t column) const override;
  // The difference of the connection's total changes since the cursor was
  // made: triggers' rows count, CREATE TABLE's none.
  long ChangedRows() const override;

 private:
  const NUVSqliteDatabase& database_;
  NUVSqliteStatement statement_;
  std::vector<NUVHostColumn> columns_;
  int64_t changesBefore_;
  bool finished_ = false;
};
