#pragma once
// References held by the library's operations for their own work and the
// references that lists of base objects carry; not installed.
#include <utility>
#include <vector>

#include "NUVDebugAssert.h"
#include "NUVEdbRegistration.h"
#include "NUVIUnknownListImpl.h"
#include "NUVListPtrNUVBaseUnknown.h"

namespace nuvedb {

// Appends each non-null entry of source that is a T, with a reference.
// Source and target are different lists.
template <class T>
void AppendKindOf(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  target.Reserve(target.Size() + source.Size());
  for (NUVBaseUnknown* entry : source) {
    if (!IsKindOf<T>(entry)) continue;
    entry->AddRef();
    target.Append(entry);
  }
}

// Appends every non-null entry of source to target, with a reference.
// Source and target are different lists.
inline void AppendWithReferences(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  target.Reserve(target.Size() + source.Size());
  for (NUVBaseUnknown* entry : source) {
    if (!entry) continue;
    entry->AddRef();
    target.Append(entry);
  }
}

// Takes one more reference on every non-null entry.
inline void AddRefAll(const NUVListPtrNUVBaseUnknown& list) {
  for (NUVBaseUnknown* entry : list) {
    if (entry) entry->AddRef();
  }
}

// Releases every non-null entry, then empties the list.
inline void ReleaseAll(NUVListPtrNUVBaseUnknown& list) {
  for (NUVBaseUnknown* entry : std::as_const(list)) {
    if (entry) entry->Release();
  }
  list.RemoveAll(NUVCollec::FreeMemory);
}

// A table's rows: a chain along the rows' next links and, beside it, the
// index that is the table's own record of them in chain order. A copy of a
// table shares its rows (with a reference each) and so its chain's links:
// a row the copy appends is linked behind the shared last row, where the
// original's chain then runs on. Every reading therefore goes by the index,
// which holds exactly the rows this table references.

// Links the row, whose creation reference the table keeps, at the end.
template <class Row, class Next>
void AppendToChain(Row*& first, std::vector<Row*>& index, Row* row, Next next) {
  NUV_DEBUG_ASSERT(row && !next(row));
  if (index.empty()) {
    first = row;
  } else {
    next(index.back()) = row;  // may relink a row shared with a copy
  }
  index.push_back(row);
  NUV_DEBUG_ASSERT(first == index.front());
}

// Releases every row the index holds, gathered before any is released;
// empties the index and the head link.
template <class Row>
void ReleaseChain(Row*& first, std::vector<Row*>& index) {
  std::vector<Row*> rows;
  rows.swap(index);
  NUV_DEBUG_ASSERT(rows.empty() || first == rows.front());
  first = nullptr;
  for (Row* row : rows) row->Release();
}

// A new, empty interface list holding its only reference for the caller;
// null when the allocation answers null.
inline NUVIUnknownList* NewUnknownList() {
  NUVIUnknownList* list = nullptr;
  if (auto* created = new NUVIUnknownListImpl) {
    created->QueryInterface(IID_NUVIUnknownList, reinterpret_cast<void**>(&list));
    created->Release();
  }
  return list;
}

}  // namespace nuvedb
