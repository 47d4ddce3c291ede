#include "NUVSqliteQueryRunner.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "NUVEdbGeneralTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdsGeneralTool.h"
#include "NUVInternalError.h"
#include "NUVSqliteDatabase.h"

long NUVSqliteRefused(const std::string& message) {
  auto* error = new NUVInternalError(1, "SqliteRefused", "NUVSqliteHost");
  if (!error) return NUV_E_FAIL;
  error->SetMessageText(message.c_str());
  const long code = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
  error->Release();
  return code;
}

namespace {

// True when the text holds nothing but blanks, semicolons and comments.
bool HoldsNoStatement(sqlite3* connection, const char* text) {
  while (text && *text) {
    sqlite3_stmt* next = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(connection, text, -1, &next, &tail);
    const bool empty = rc == SQLITE_OK && !next;
    sqlite3_finalize(next);
    if (!empty) return false;
    if (tail == text) return true;
    text = tail;
  }
  return true;
}

// The header of the list whose attribute name is the column's, or null.
const NUVEdbResultTabHdr* HeaderFor(const NUVListPtrNUVBaseUnknown* headers,
                                    const NUVUnicodeString& attrName) {
  if (!headers) return nullptr;
  for (int i = 1; i <= headers->Size(); ++i) {
    const NUVBaseUnknown* entry = (*headers)[i];
    if (!entry || !entry->IsAKindOf(NUVEdbResultTabHdr::ClassName())) continue;
    const auto& header = static_cast<const NUVEdbResultTabHdr&>(*entry);
    NUVUnicodeString name;
    if (header.GetAttrName(name) >= 0 && name == attrName) return &header;
  }
  return nullptr;
}

NUVUnicodeString Hexadecimal(const void* blob, int size) {
  _SEQUENCE_SEQUENCE_octet bytes;
  bytes.length(static_cast<unsigned long>(size));
  if (size > 0) std::memcpy(bytes.data(), blob, static_cast<size_t>(size));
  NUVEdbGeneralTool general;
  return general.SequenceToUnicode(bytes);
}

// A string cell of text as stored. Stored text in the form blank encoding
// gives is kept as it is; other text is taken as the decoding gives it, the
// way a string cell is built from a value.
NUVEdbResultTabData* StringCell(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                const NUVUnicodeString& stored) {
  const NUVEdsGeneralTool general;
  if (general.IsEncodedForm(stored))
    return NUVEdbResultTableBuilder::NewEncodedStringCell(classType, attrName, stored);
  return new NUVEdbResultTabData(classType, attrName, general.DecodeBlanks(stored), 0);
}

// The cell type a value of the column gets: the header's, else by the
// value's own storage class.
NUVEdbObjAttrType CellType(NUVEdbObjAttrType headerType, int storage) {
  if (storage == SQLITE_NULL) return EdbTypeNone;
  switch (headerType) {
    case EdbTypeInteger:
    case EdbTypeDouble:
      return headerType;
    case EdbTypeString:
    case EdbTypeObject:
    case EdbTypeObjectList:
      return EdbTypeString;
    default:
      break;
  }
  switch (storage) {
    case SQLITE_INTEGER:
      return EdbTypeInteger;
    case SQLITE_FLOAT:
      return EdbTypeDouble;
    default:
      return EdbTypeString;
  }
}

std::string RowText(const NUVUnicodeString& attrName, int row) {
  return std::string(" in column \"") + attrName.CastToCharPtr() + "\" of row " + std::to_string(row);
}

}  // namespace

std::vector<NUVSqliteQueryRunner::Column> NUVSqliteQueryRunner::Columns(
    sqlite3_stmt* statement, const NUVListPtrNUVBaseUnknown* headers) const {
  const int count = sqlite3_column_count(statement);
  std::vector<Column> columns;
  columns.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    Column column{sqlite3_column_name(statement, i), {}, EdbTypeNone};
    if (const NUVEdbResultTabHdr* header = HeaderFor(headers, column.attrName)) {
      header->GetClassType(column.classType);
      header->GetType(column.type);
    } else if (const char* table = sqlite3_column_table_name(statement, i)) {
      column.classType = table;
    } else {
      column.classType = "QUERY";  // a computed column belongs to no table
    }
    columns.push_back(column);
  }
  return columns;
}

long NUVSqliteQueryRunner::Cell(sqlite3_stmt* statement, int i, const Column& column, int row,
                                NUVBaseUnknown*& cell) const {
  cell = nullptr;
  // One call per cell; reading the value directly is safe because the
  // connection is used by one thread at a time.
  sqlite3_value* const stored = sqlite3_column_value(statement, i);
  const int storage = sqlite3_value_type(stored);
  switch (CellType(column.type, storage)) {
    case EdbTypeNone: {
      auto* none = new NUVEdbResultTabData(column.classType, column.attrName, 0);
      if (none) none->SetType(EdbTypeNone);
      cell = none;
      break;
    }
    case EdbTypeInteger: {
      const sqlite3_int64 value = sqlite3_value_int64(stored);
      if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        return NUVSqliteRefused("integer " + std::to_string(value) + " does not fit 32 bits" +
                                RowText(column.attrName, row));
      }
      cell = new NUVEdbResultTabData(column.classType, column.attrName, static_cast<int>(value));
      break;
    }
    case EdbTypeDouble:
      cell = new NUVEdbResultTabData(column.classType, column.attrName, sqlite3_value_double(stored));
      break;
    default: {
      cell = StringCell(
          column.classType, column.attrName,
          storage == SQLITE_BLOB
              ? Hexadecimal(sqlite3_value_blob(stored), sqlite3_value_bytes(stored))
              : NUVUnicodeString(reinterpret_cast<const char*>(sqlite3_value_text(stored))));
      break;
    }
  }
  return cell ? NUV_S_OK : NUVSqliteRefused("no memory for a cell" + RowText(column.attrName, row));
}

long NUVSqliteQueryRunner::Rows(sqlite3_stmt* statement, NUVEdbResultTable& table,
                                const NUVListPtrNUVBaseUnknown* headers) {
  const std::vector<Column> columns = Columns(statement, headers);
  NUVListPtrNUVBaseUnknown cells;
  long code = NUV_S_OK;
  for (int row = 1;; ++row) {
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) return NUVSqliteRefused(database_.LastMessage());
    for (size_t i = 0; i < columns.size() && code >= 0; ++i) {
      NUVBaseUnknown* cell = nullptr;
      code = Cell(statement, static_cast<int>(i), columns[i], row, cell);
      if (cell) cells.Append(cell);
    }
    if (code >= 0 && !columns.empty()) code = NUVEdbResultTableBuilder::AppendRowTakingCells(table, cells);
    for (int c = 1; c <= cells.Size(); ++c) cells[c]->Release();  // what the row did not take
    cells.RemoveAll(NUVCollec::KeepMemory);  // the next row fills the same room
    if (code < 0) return code;
  }
  return NUV_S_OK;
}

long NUVSqliteQueryRunner::Write(sqlite3_stmt* statement, NUVEdbResultTable& table,
                                 const NUVListPtrNUVBaseUnknown* headers) {
  sqlite3* connection = database_.Connection();
  if (sqlite3_exec(connection, "SAVEPOINT nuv_run", nullptr, nullptr, nullptr) != SQLITE_OK) {
    return NUVSqliteRefused(database_.LastMessage());
  }
  const long code = Rows(statement, table, headers);
  sqlite3_reset(statement);
  if (code < 0) sqlite3_exec(connection, "ROLLBACK TO nuv_run", nullptr, nullptr, nullptr);
  sqlite3_exec(connection, "RELEASE nuv_run", nullptr, nullptr, nullptr);
  database_.LoadSchema();
  return code;
}

long NUVSqliteQueryRunner::Run(const NUVUnicodeString& text, NUVEdbResultTable& table,
                               const NUVListPtrNUVBaseUnknown* headers) {
  sqlite3* connection = database_.Connection();
  NUVSqliteStatement statement;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(connection, text.CastToCharPtr(), -1, statement.out(), &tail) != SQLITE_OK) {
    return NUVSqliteRefused(database_.LastMessage());
  }
  if (!statement.get()) return NUVSqliteRefused("the text holds no statement");
  if (!HoldsNoStatement(connection, tail)) return NUVSqliteRefused("the text holds more than one statement");
  if (sqlite3_stmt_readonly(statement.get())) return Rows(statement.get(), table, headers);
  return Write(statement.get(), table, headers);
}
