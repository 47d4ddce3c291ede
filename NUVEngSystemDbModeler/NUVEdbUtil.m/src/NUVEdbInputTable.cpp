#include "NUVEdbInputTable.h"

#include "NUVDebugAssert.h"
#include "NUVEdbGuarded.h"
#include "NUVEdbInputTabRow.h"
#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbInputTable"};
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbInputTable, NUVBaseUnknown)

NUVEdbInputTable::NUVEdbInputTable(const NUVEdbInputTable& other)
    : NUVBaseUnknown(other), firstRow_(other.firstRow_), rows_(other.rows_) {
  for (NUVEdbInputTabRow* row : rows_) row->AddRef();
}

NUVEdbInputTable& NUVEdbInputTable::operator=(const NUVEdbInputTable& other) {
  if (this == &other) return *this;
  ReleaseRows();
  firstRow_ = other.firstRow_;
  rows_ = other.rows_;
  for (NUVEdbInputTabRow* row : rows_) row->AddRef();
  return *this;
}

NUVEdbInputTable::~NUVEdbInputTable() { ReleaseRows(); }

void NUVEdbInputTable::ReleaseRows() { nuvedb::ReleaseChain(firstRow_, rows_); }

long NUVEdbInputTable::AppendRow(const NUVListPtrNUVBaseUnknown& parameters) {
  if (parameters.Size() < 1) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    auto* row = new NUVEdbInputTabRow(parameters);  // the table keeps this creation reference
    if (!row) return kSource.Failure();
    nuvedb::AppendToChain(firstRow_, rows_, row,
                          [](NUVEdbInputTabRow* r) -> NUVEdbInputTabRow*& { return r->next_; });
    return kSource.Success();
  });
}

long NUVEdbInputTable::GetNumberOfRows(int& count) const {
  count = static_cast<int>(rows_.size());
  return kSource.Success();
}

long NUVEdbInputTable::GetRow(int n, NUVListPtrNUVBaseUnknown& parameters) const {
  if (n < 0) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    if (n >= 1 && static_cast<size_t>(n) <= rows_.size()) {
      nuvedb::AppendWithReferences(rows_[static_cast<size_t>(n - 1)]->parameters_, parameters);
    }
    return kSource.Success();
  });
}
