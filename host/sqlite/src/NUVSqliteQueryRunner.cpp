#include "NUVSqliteQueryRunner.h"

#include <sqlite3.h>

#include <cmath>
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
#include "NUVRef.h"
#include "NUVRefList.h"
#include "NUVSqlTextScan.h"
#include "NUVSqliteDatabase.h"
#include "NUVSqlitePlainText.h"

long NUVSqliteRefused(const std::string& message) {
  const auto error = NUVAdopt(new NUVInternalError(1, "SqliteRefused", "NUVSqliteHost"));
  if (!error) return NUV_E_FAIL;
  error->SetMessageText(message.c_str());
  return NUVError::GetReturn(0, error.get(), nullptr, __FILE__, __LINE__);
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

// A string cell of text as stored. In an encoded database, stored text in
// the form blank encoding gives is kept as it is; other text is taken as the
// decoding gives it, the way a string cell is built from a value. In a plain
// database the stored text is the value.
NUVEdbResultTabData* StringCell(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                const NUVUnicodeString& stored, NUVSqliteTextMode mode) {
  const NUVEdsGeneralTool general;
  if (mode == NUVSqliteTextMode::Plain)
    return NUVEdbResultTableBuilder::NewEncodedStringCell(classType, attrName, general.EncodeBlanks(stored));
  if (general.IsEncodedForm(stored))
    return NUVEdbResultTableBuilder::NewEncodedStringCell(classType, attrName, stored);
  return new NUVEdbResultTabData(classType, attrName, general.DecodeBlanks(stored), 0);
}

constexpr sqlite3_int64 kExactDoubleLimit = sqlite3_int64{1} << 53;

bool FitsInt(sqlite3_int64 value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// The cell type a value of the column gets: the header's where the value
// converts to it exactly, else the value's own. Texts of a numeric header
// stay texts; integers beyond 32 bits become their decimal text.
NUVEdbObjAttrType CellType(NUVEdbObjAttrType headerType, sqlite3_value* stored) {
  const int storage = sqlite3_value_type(stored);
  if (storage == SQLITE_NULL) return EdbTypeNone;
  if (headerType == EdbTypeString || headerType == EdbTypeObject || headerType == EdbTypeObjectList)
    return EdbTypeString;
  if (storage == SQLITE_INTEGER) {
    const sqlite3_int64 value = sqlite3_value_int64(stored);
    if (headerType == EdbTypeDouble && value >= -kExactDoubleLimit && value <= kExactDoubleLimit)
      return EdbTypeDouble;
    return FitsInt(value) ? EdbTypeInteger : EdbTypeString;
  }
  if (storage == SQLITE_FLOAT) {
    const double value = sqlite3_value_double(stored);
    const bool exactInt = std::trunc(value) == value && value >= std::numeric_limits<int32_t>::min() &&
                          value <= std::numeric_limits<int32_t>::max();
    return headerType == EdbTypeInteger && exactInt ? EdbTypeInteger : EdbTypeDouble;
  }
  return EdbTypeString;
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
  switch (CellType(column.type, stored)) {
    case EdbTypeNone: {
      auto* none = new NUVEdbResultTabData(column.classType, column.attrName, 0);
      if (none) none->SetType(EdbTypeNone);
      cell = none;
      break;
    }
    case EdbTypeInteger:
      cell = new NUVEdbResultTabData(column.classType, column.attrName, sqlite3_value_int(stored));
      break;
    case EdbTypeDouble:
      cell = new NUVEdbResultTabData(column.classType, column.attrName, sqlite3_value_double(stored));
      break;
    default: {
      cell = StringCell(column.classType, column.attrName,
                        sqlite3_value_type(stored) == SQLITE_BLOB
                            ? Hexadecimal(sqlite3_value_blob(stored), sqlite3_value_bytes(stored))
                            : NUVUnicodeString(reinterpret_cast<const char*>(sqlite3_value_text(stored))),
                        database_.TextMode());
      break;
    }
  }
  return cell ? NUV_S_OK : NUVSqliteRefused("no memory for a cell" + RowText(column.attrName, row));
}

long NUVSqliteQueryRunner::SetHeader(const std::vector<Column>& columns, NUVEdbResultTable& table) {
  NUVRefList headers;
  table.GetHeader(headers.get());
  const bool hasHeader = headers.Size() > 0;
  headers.Clear();
  if (hasHeader) return NUV_S_OK;
  long code = NUV_S_OK;
  for (const Column& column : columns) {
    auto* header = new NUVEdbResultTabHdr(column.classType, column.attrName, column.type);
    if (!header) {
      code = NUVSqliteRefused("no memory for a column header");
      break;
    }
    headers.Adopt(header);
  }
  if (code >= 0 && headers.Size() > 0) code = table.SetHeader(headers.get());
  return code;
}

long NUVSqliteQueryRunner::Fill(sqlite3_stmt* statement, const std::vector<Column>& columns,
                                NUVEdbResultTable& table, size_t limit, int& row, bool& done) {
  long code = SetHeader(columns, table);
  if (code < 0) return code;
  NUVRefList cells;  // the row takes the references of the cells it keeps
  for (size_t filled = 0; filled < limit; ++filled) {
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
      done = true;
      return NUV_S_OK;
    }
    if (rc != SQLITE_ROW) return NUVSqliteRefused(database_.LastMessage());
    ++row;
    for (size_t i = 0; i < columns.size() && code >= 0; ++i) {
      NUVBaseUnknown* cell = nullptr;
      code = Cell(statement, static_cast<int>(i), columns[i], row, cell);
      if (cell) cells.Adopt(cell);
    }
    if (code >= 0 && !columns.empty())
      code = NUVEdbResultTableBuilder::AppendRowTakingCells(table, cells.get());
    cells.Clear(NUVCollec::KeepMemory);  // what the row did not take; the next row fills the same room
    if (code < 0) return code;
  }
  return NUV_S_OK;
}

long NUVSqliteQueryRunner::Batches(sqlite3_stmt* statement, const std::vector<Column>& columns,
                                   size_t batchRows, const NUVSqliteBatchConsumer& consumer) {
  int row = 0;
  bool done = false;
  for (bool first = true; !done; first = false) {
    NUVEdbResultTable batch;
    const long code = Fill(statement, columns, batch, batchRows, row, done);
    if (code < 0) return code;
    int rows = 0;
    batch.GetNumberOfRows(rows);
    // An answer without rows still gives its columns once; a last batch
    // that the previous one left empty is not handed out.
    if (rows == 0 && !first) break;
    const long taken = consumer(batch);
    if (taken < 0) return taken;
  }
  return NUV_S_OK;
}

long NUVSqliteQueryRunner::Write(sqlite3_stmt* statement, const std::function<long()>& body) {
  sqlite3* connection = database_.Connection();
  if (sqlite3_exec(connection, "SAVEPOINT nuv_run", nullptr, nullptr, nullptr) != SQLITE_OK) {
    return NUVSqliteRefused(database_.LastMessage());
  }
  // The difference of the totals counts this statement's rows alone, and
  // none for a statement that changes no rows (CREATE TABLE).
  const sqlite3_int64 before = sqlite3_total_changes64(connection);
  const long code = body();
  sqlite3_reset(statement);
  if (code >= 0) database_.SetLastChanges(static_cast<long>(sqlite3_total_changes64(connection) - before));
  if (code < 0) sqlite3_exec(connection, "ROLLBACK TO nuv_run", nullptr, nullptr, nullptr);
  sqlite3_exec(connection, "RELEASE nuv_run", nullptr, nullptr, nullptr);
  database_.LoadSchema();
  return code;
}

long NUVSqliteQueryRunner::Prepare(const std::string& text, NUVSqliteStatement& statement, size_t& rest) {
  sqlite3* connection = database_.Connection();
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(connection, text.c_str(), static_cast<int>(text.size()), statement.out(), &tail) !=
      SQLITE_OK) {
    return NUVSqliteRefused(database_.LastMessage());
  }
  rest = tail ? static_cast<size_t>(tail - text.c_str()) : text.size();
  return NUV_S_OK;
}

long NUVSqliteQueryRunner::PreparePlain(const std::string& text, NUVSqliteStatement& statement,
                                        std::string& prepared, size_t& rest) {
  const NUVSqlitePlainText plain(text);
  prepared = plain.WithParameters();
  if (Prepare(prepared, statement, rest) >= 0) {
    bound_ = static_cast<int>(plain.Values().size());
    for (size_t i = 0; i < plain.Values().size(); ++i) {
      const std::string& value = plain.Values()[i];
      sqlite3_bind_text(statement.get(), static_cast<int>(i + 1), value.data(),
                        static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    return NUV_S_OK;
  }
  // Some statements (a column's default, a view) take no parameters: the
  // values go into the text as literals of their own.
  if (plain.Values().empty() || !plain.Inlined(prepared)) return NUVSqliteRefused(database_.LastMessage());
  return Prepare(prepared, statement, rest);
}

long NUVSqliteQueryRunner::Run(const NUVUnicodeString& text, NUVEdbResultTable& table,
                               const NUVListPtrNUVBaseUnknown* headers) {
  return Execute(text, headers, [&](sqlite3_stmt* statement, const std::vector<Column>& columns) {
    int row = 0;
    bool done = false;
    return Fill(statement, columns, table, std::numeric_limits<size_t>::max(), row, done);
  });
}

long NUVSqliteQueryRunner::RunInBatches(const NUVUnicodeString& text, size_t batchRows,
                                        const NUVSqliteBatchConsumer& consumer,
                                        const NUVListPtrNUVBaseUnknown* headers) {
  if (batchRows == 0) return NUVSqliteRefused("a batch must hold at least one row");
  return Execute(text, headers, [&](sqlite3_stmt* statement, const std::vector<Column>& columns) {
    return Batches(statement, columns, batchRows, consumer);
  });
}

long NUVSqliteQueryRunner::Execute(const NUVUnicodeString& text, const NUVListPtrNUVBaseUnknown* headers,
                                   const Filler& fill) {
  database_.SetLastChanges(-1);
  const std::string_view parameter = NUVSqlTextScan::FirstParameter(text.View());
  if (!parameter.empty()) {
    return NUVSqliteRefused("the statement holds the parameter " + std::string(parameter) +
                            ", which no value replaced");
  }
  NUVSqliteStatement statement;
  std::string prepared(text.View());
  size_t rest = 0;
  const long code = database_.TextMode() == NUVSqliteTextMode::Plain
                        ? PreparePlain(std::string(text.View()), statement, prepared, rest)
                        : Prepare(prepared, statement, rest);
  if (code < 0) return code;
  if (!statement.get()) return NUVSqliteRefused("the text holds no statement");
  if (!HoldsNoStatement(database_.Connection(), prepared.c_str() + rest))
    return NUVSqliteRefused("the text holds more than one statement");
  if (sqlite3_bind_parameter_count(statement.get()) != bound_)
    return NUVSqliteRefused("the statement holds a parameter that no value replaced");
  const std::vector<Column> columns = Columns(statement.get(), headers);
  if (sqlite3_stmt_readonly(statement.get())) return fill(statement.get(), columns);
  return Write(statement.get(), [&] { return fill(statement.get(), columns); });
}
