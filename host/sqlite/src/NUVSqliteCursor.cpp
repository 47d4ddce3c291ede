#include "NUVSqliteCursor.h"

#include <sqlite3.h>

#include <utility>

#include "IUnknown.h"
#include "NUVSqliteDatabase.h"

namespace {

std::vector<NUVHostColumn> Described(sqlite3_stmt* statement) {
  const int count = sqlite3_column_count(statement);
  std::vector<NUVHostColumn> columns;
  columns.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const char* table = sqlite3_column_table_name(statement, i);
    columns.push_back({sqlite3_column_name(statement, i), table ? table : ""});
  }
  return columns;
}

// The value's text up to its first zero byte, as a C string reads.
std::string_view CText(const unsigned char* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

}  // namespace

NUVSqliteCursor::NUVSqliteCursor(const NUVSqliteDatabase& database, NUVSqliteStatement statement)
    : database_(database),
      statement_(std::move(statement)),
      columns_(Described(statement_.get())),
      changesBefore_(sqlite3_total_changes64(database.Connection())) {}

bool NUVSqliteCursor::Writes() const { return sqlite3_stmt_readonly(statement_.get()) == 0; }

long NUVSqliteCursor::Next(bool& row) {
  row = false;
  if (finished_) return NUV_S_OK;
  const int rc = sqlite3_step(statement_.get());
  if (rc == SQLITE_ROW) {
    row = true;
    return NUV_S_OK;
  }
  finished_ = true;
  return rc == SQLITE_DONE ? NUV_S_OK : NUVHostFailed(database_.LastFailure());
}

NUVHostValue NUVSqliteCursor::Value(size_t column) const {
  // One call per cell: the value is read where the statement keeps it.
  sqlite3_value* const stored = sqlite3_column_value(statement_.get(), static_cast<int>(column));
  NUVHostValue value;
  switch (sqlite3_value_type(stored)) {
    case SQLITE_INTEGER:
      value.kind = NUVHostValue::Kind::Integer;
      value.integer = sqlite3_value_int64(stored);
      break;
    case SQLITE_FLOAT:
      value.kind = NUVHostValue::Kind::Double;
      value.real = sqlite3_value_double(stored);
      break;
    case SQLITE_TEXT:
      value.kind = NUVHostValue::Kind::Text;
      value.text = CText(sqlite3_value_text(stored));
      break;
    case SQLITE_BLOB: {
      value.kind = NUVHostValue::Kind::Bytes;
      const void* bytes = sqlite3_value_blob(stored);  // before its size, as SQLite asks
      value.text =
          std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(sqlite3_value_bytes(stored)));
      break;
    }
    default:
      break;
  }
  return value;
}

std::string_view NUVSqliteCursor::NumberText(size_t column) const {
  return CText(sqlite3_value_text(sqlite3_column_value(statement_.get(), static_cast<int>(column))));
}

long NUVSqliteCursor::ChangedRows() const {
  return static_cast<long>(sqlite3_total_changes64(database_.Connection()) - changesBefore_);
}
