#include "NUVEdbResultTable.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "NUVDebugAssert.h"
#include "NUVEdbGuarded.h"
#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTabRow.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdsGeneralTool.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbResultTable"};

// The first cell of the row that is named attrName and has a readable type.
NUVEdbResultTabData* FirstCellNamed(const NUVListPtrNUVBaseUnknown& cells, const NUVUnicodeString& attrName,
                                    NUVEdbObjAttrType& type) {
  for (int i = 1; i <= cells.Size(); ++i) {
    if (!nuvedb::IsKindOf<NUVEdbResultTabData>(cells[i])) continue;
    auto* cell = static_cast<NUVEdbResultTabData*>(cells[i]);
    NUVUnicodeString name;
    if (cell->GetAttrName(name) < 0 || !(name == attrName) || cell->GetType(type) < 0) continue;
    return cell;
  }
  return nullptr;
}
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbResultTable, NUVBaseUnknown)

NUVEdbResultTable::NUVEdbResultTable(const NUVEdbResultTable& other)
    : NUVBaseUnknown(other), header_(other.header_), firstRow_(other.firstRow_), rows_(other.rows_) {
  TakeReferences();
}

NUVEdbResultTable& NUVEdbResultTable::operator=(const NUVEdbResultTable& other) {
  if (this == &other) return *this;
  ReleaseAll();
  header_ = other.header_;
  firstRow_ = other.firstRow_;
  rows_ = other.rows_;
  TakeReferences();
  return *this;
}

NUVEdbResultTable::~NUVEdbResultTable() { ReleaseAll(); }

void NUVEdbResultTable::TakeReferences() {
  nuvedb::AddRefAll(header_);
  for (NUVEdbResultTabRow* row : rows_) row->AddRef();
}

void NUVEdbResultTable::ReleaseAll() {
  nuvedb::ReleaseAll(header_);
  nuvedb::ReleaseChain(firstRow_, rows_);
}

long NUVEdbResultTable::SetHeader(const NUVListPtrNUVBaseUnknown& headers) {
  if (header_.Size() >= 1) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    nuvedb::AppendKindOf<NUVEdbResultTabHdr>(headers, header_);
    return kSource.Success();
  });
}

long NUVEdbResultTable::GetHeader(NUVListPtrNUVBaseUnknown& headers) const {
  const long result = nuvedb::GuardedCode(kSource, [&] {
    nuvedb::AppendKindOf<NUVEdbResultTabHdr>(header_, headers);
    return kSource.Success();
  });
  if (result < 0) nuvedb::ReleaseAll(headers);
  return result;
}

long NUVEdbResultTable::GetNumberOfRows(int& count) const {
  count = static_cast<int>(rows_.size());
  return kSource.Success();
}

namespace {

// How far ahead GetRow asks for the memory of the rows a caller reading in
// order will fetch next.
constexpr size_t kRowsAhead = 2;

// Asks for the memory of a later row, guessed from this row's: the rows of
// a table filled in order lie one after the other, each with its cell list
// and cells beside it, so the later row's lie where this row's do, moved by
// the distance between the two rows. Only a hint: nothing there is read.
void PrefetchRowLike(const NUVEdbResultTabRow* row, const NUVListPtrNUVBaseUnknown& cells,
                     const NUVEdbResultTabRow* later) {
  const std::uintptr_t shift =
      reinterpret_cast<std::uintptr_t>(later) - reinterpret_cast<std::uintptr_t>(row);
  const auto moved = [shift](const void* at) {
    return reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(at) + shift);
  };
  __builtin_prefetch(later);
  __builtin_prefetch(moved(cells.begin()));
  for (const NUVBaseUnknown* cell : cells) __builtin_prefetch(moved(cell));
}

}  // namespace

long NUVEdbResultTable::GetRow(const int& n, NUVListPtrNUVBaseUnknown& cells) const {
  if (n < 0) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    if (n >= 1 && static_cast<size_t>(n) <= rows_.size()) {
      const size_t at = static_cast<size_t>(n - 1);
      const NUVEdbResultTabRow* row = rows_[at];
      nuvedb::AppendWithReferences(row->cells_, cells);
      if (at + kRowsAhead < rows_.size()) PrefetchRowLike(row, row->cells_, rows_[at + kRowsAhead]);
    }
    return kSource.Success();
  });
}

long NUVEdbResultTable::GetColumn(const NUVUnicodeString& attrName, NUVEdbObjAttrType& type,
                                  NUVListPtrNUVBaseUnknown& cells) const {
  if (attrName.HasNoCharacter()) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    for (const NUVEdbResultTabRow* row : rows_) {
      NUVEdbObjAttrType cellType = EdbTypeNone;
      NUVEdbResultTabData* cell = FirstCellNamed(row->cells_, attrName, cellType);
      if (!cell) continue;
      type = cellType;
      cell->AddRef();
      cells.Append(cell);
    }
    return kSource.Success();
  });
}

long NUVEdbResultTableBuilder::AppendRow(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& cells) {
  auto* row = new NUVEdbResultTabRow(cells);  // the table keeps this creation reference
  if (!row) return kSource.Failure();
  Link(table, row);
  return kSource.Success();
}

long NUVEdbResultTableBuilder::AppendRowTakingCells(NUVEdbResultTable& table,
                                                    NUVListPtrNUVBaseUnknown& cells) {
  auto* row = new NUVEdbResultTabRow;  // the table keeps this creation reference
  if (!row) return kSource.Failure();
  row->cells_.Reserve(cells.Size());
  for (NUVBaseUnknown* entry : std::as_const(cells)) {
    if (nuvedb::IsKindOf<NUVEdbResultTabData>(entry)) {
      row->cells_.Append(entry);
    } else if (entry) {
      entry->Release();
    }
  }
  cells.RemoveAll(NUVCollec::KeepMemory);
  Link(table, row);
  return kSource.Success();
}

void NUVEdbResultTableBuilder::Link(NUVEdbResultTable& table, NUVEdbResultTabRow* row) {
  nuvedb::AppendToChain(table.firstRow_, table.rows_, row,
                        [](NUVEdbResultTabRow* r) -> NUVEdbResultTabRow*& { return r->next_; });
}

NUVEdbResultTabData* NUVEdbResultTableBuilder::NewStringCellWithoutText(const NUVUnicodeString& classType,
                                                                        const NUVUnicodeString& attrName) {
  // Built as an integer cell of 0 (which encodes nothing), then given the
  // string type: with its text, the fields a string cell built from the
  // decoded text would have.
  auto* cell = new NUVEdbResultTabData(classType, attrName, 0);
  if (!cell) return nullptr;
  cell->type_ = EdbTypeString;
  return cell;
}

NUVEdbResultTabData* NUVEdbResultTableBuilder::NewEncodedStringCell(const NUVUnicodeString& classType,
                                                                    const NUVUnicodeString& attrName,
                                                                    std::string_view encoded) {
  auto* cell = NewStringCellWithoutText(classType, attrName);
  if (!cell) return nullptr;
  // Written in place, with no temporary string to build and move in.
  if (!encoded.empty()) {
    std::memcpy(cell->string_.PrepareOverwrite(encoded.size()), encoded.data(), encoded.size());
  }
  return cell;
}

NUVEdbResultTabData* NUVEdbResultTableBuilder::NewPlainStringCell(const NUVUnicodeString& classType,
                                                                  const NUVUnicodeString& attrName,
                                                                  std::string_view plain) {
  auto* cell = NewStringCellWithoutText(classType, attrName);
  if (!cell) return nullptr;
  const NUVEdsGeneralTool general;
  general.EncodeBlanks(plain, cell->string_);
  return cell;
}
