#include "NUVHostRunner.h"

#include <limits>
#include <string>

#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVInternalError.h"
#include "NUVRef.h"
#include "NUVRefList.h"
#include "NUVHostWrittenText.h"

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The header whose attribute name is the column's: the one of exactly that
// name, else, when folded, one that differs only in case; null when none.
const NUVEdbResultTabHdr* HeaderFor(const NUVListPtrNUVBaseUnknown* headers, std::string_view name,
                                    bool folded) {
  if (!headers) return nullptr;
  const NUVEdbResultTabHdr* sameIgnoringCase = nullptr;
  for (int i = 1; i <= headers->Size(); ++i) {
    const NUVBaseUnknown* entry = (*headers)[i];
    if (!entry || !entry->IsAKindOf(NUVEdbResultTabHdr::ClassName())) continue;
    const auto& header = static_cast<const NUVEdbResultTabHdr&>(*entry);
    NUVUnicodeString attrName;
    if (header.GetAttrName(attrName) < 0) continue;
    if (attrName.View() == name) return &header;
    if (folded && !sameIgnoringCase && SameIgnoringCase(attrName.View(), name)) sameIgnoringCase = &header;
  }
  return sameIgnoringCase;
}

std::vector<NUVHostCellColumn> CellColumns(const NUVHostCursor& cursor,
                                           const NUVListPtrNUVBaseUnknown* headers, bool folded) {
  std::vector<NUVHostCellColumn> columns;
  columns.reserve(cursor.Columns().size());
  for (const NUVHostColumn& described : cursor.Columns()) {
    NUVHostCellColumn column{NUVUnicodeString(described.name), {}, EdbTypeNone};
    if (const NUVEdbResultTabHdr* header = HeaderFor(headers, described.name, folded)) {
      header->GetAttrName(column.attrName);
      header->GetClassType(column.classType);
      header->GetType(column.type);
    } else if (!described.table.empty()) {
      column.classType = NUVUnicodeString(described.table);
    } else {
      column.classType = "QUERY";  // a computed column belongs to no table
    }
    columns.push_back(column);
  }
  return columns;
}

// Gives the table one header per column, when it has none yet.
long SetHeader(const std::vector<NUVHostCellColumn>& columns, NUVEdbResultTable& table) {
  NUVRefList headers;
  table.GetHeader(headers.get());
  const bool hasHeader = headers.Size() > 0;
  headers.Clear();
  if (hasHeader) return NUV_S_OK;
  long code = NUV_S_OK;
  for (const NUVHostCellColumn& column : columns) {
    auto* header = new NUVEdbResultTabHdr(column.classType, column.attrName, column.type);
    if (!header) {
      code = NUVHostRefused("no memory for a column header");
      break;
    }
    headers.Adopt(header);
  }
  if (code >= 0 && headers.Size() > 0) code = table.SetHeader(headers.get());
  return code;
}

}  // namespace

long NUVHostRunner::Fill(NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns,
                         NUVEdbResultTable& table, size_t limit, int& row, bool& done,
                         std::vector<NUVHostValueSort>* sorts) {
  long code = SetHeader(columns, table);
  if (code < 0) return code;
  const NUVHostTextMode mode = backend_.TextMode();
  NUVRefList cells;  // the row takes the references of the cells it keeps
  for (size_t filled = 0; filled < limit; ++filled) {
    bool more = false;
    code = cursor.Next(more);
    if (code < 0) return code;
    if (!more) {
      done = true;
      return NUV_S_OK;
    }
    ++row;
    size_t i = 0;
    for (const NUVHostCellColumn& column : columns) {
      NUVHostValueSort sort = NUVHostValueSort::Null;
      NUVBaseUnknown* cell = NUVHostNewCell(column, cursor, i++, mode, sorts ? &sort : nullptr);
      if (sorts) sorts->push_back(sort);
      if (!cell) {
        code = NUVHostRefused(std::string("no memory for a cell in column \"") +
                              column.attrName.CastToCharPtr() + "\" of row " + std::to_string(row));
        break;
      }
      cells.Adopt(cell);
    }
    if (code >= 0 && !columns.empty())
      code = NUVEdbResultTableBuilder::AppendRowTakingCells(table, cells.get());
    if (cells.Size() > 0) cells.Clear(NUVCollec::KeepMemory);  // what the row did not take; the room stays
    if (code < 0) return code;
  }
  return NUV_S_OK;
}

long NUVHostRunner::Batches(NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns,
                            size_t batchRows, const NUVHostBatchConsumer& consumer,
                            std::vector<NUVHostValueSort>* sorts) {
  int row = 0;
  bool done = false;
  for (bool first = true; !done; first = false) {
    NUVEdbResultTable batch;
    if (sorts) sorts->clear();
    const long code = Fill(cursor, columns, batch, batchRows, row, done, sorts);
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

long NUVHostRunner::Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
                        const NUVListPtrNUVBaseUnknown* headers) {
  return Execute(statement, false, headers,
                 [&](NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns) {
                   int row = 0;
                   bool done = false;
                   return Fill(cursor, columns, table, std::numeric_limits<size_t>::max(), row, done);
                 });
}

long NUVHostRunner::RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                                 const NUVHostBatchConsumer& consumer, const NUVListPtrNUVBaseUnknown* headers,
                                 const NUVHostAnswerEnd& end, std::vector<NUVHostValueSort>* sorts) {
  if (batchRows == 0) return NUVHostRefused("a batch must hold at least one row");
  return Execute(statement, true, headers,
                 [&](NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns) {
                   const long code = Batches(cursor, columns, batchRows, consumer, sorts);
                   return code < 0 || !end ? code : end();
                 });
}

long NUVHostRunner::Execute(const NUVUnicodeString& text, bool streaming,
                            const NUVListPtrNUVBaseUnknown* headers, const Filler& fill) {
  backend_.SetLastChanges(-1);
  backend_.SetLastWrote(false);
  std::unique_ptr<NUVHostCursor> cursor;
  NUVHostWrittenText statement(text.View());
  long code = backend_.Open(statement, streaming, cursor);
  if (code < 0) return code;
  const std::vector<NUVHostCellColumn> columns =
      CellColumns(*cursor, headers, backend_.MatchesNamesIgnoringCase());
  backend_.SetLastWrote(cursor->Writes());
  if (!cursor->Writes()) return fill(*cursor, columns);
  code = backend_.Begin();
  if (code < 0) return code;
  code = fill(*cursor, columns);
  const long changed = cursor->ChangedRows();
  cursor.reset();  // the answer is read to its end before the transaction ends
  code = code < 0 ? (backend_.Rollback(), code) : backend_.Commit();
  if (code >= 0) backend_.SetLastChanges(changed);
  backend_.SchemaChanged();
  return code;
}
