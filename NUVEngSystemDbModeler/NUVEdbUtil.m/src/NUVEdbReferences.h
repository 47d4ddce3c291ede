#pragma once
// References held by the library's operations for their own work and the
// references that lists of base objects carry; not installed.
#include <vector>

#include "NUVDebugAssert.h"
#include "NUVEdbRegistration.h"
#include "NUVIUnknownListImpl.h"
#include "NUVListPtrNUVBaseUnknown.h"

namespace nuvedb {

// Appends each non-null entry of source that is a T, with a reference.
template <class T>
void AppendKindOf(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  const int size = source.Size();
  target.Reserve(target.Size() + size);
  for (int i = 1; i <= size; ++i) {
    NUVBaseUnknown* entry = source[i];
    if (!IsKindOf<T>(entry)) continue;
    entry->AddRef();
    target.Append(entry);
  }
}

// Appends every non-null entry of source to target, with a reference.
inline void AppendWithReferences(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  target.Reserve(target.Size() + source.Size());
  for (int i = 1; i <= source.Size(); ++i) {
    if (!source[i]) continue;
    source[i]->AddRef();
    target.Append(source[i]);
  }
}

// Takes one more reference on every non-null entry.
inline void AddRefAll(const NUVListPtrNUVBaseUnknown& list) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list[i]) list[i]->AddRef();
  }
}

// Releases every non-null entry, then empties the list.
inline void ReleaseAll(NUVListPtrNUVBaseUnknown& list) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list[i]) list[i]->Release();
  }
  list.RemoveAll(NUVCollec::FreeMemory);
}

// Releases every row of a chain, gathered along the next links before any
// row is released; empties the index and the head link.
template <class Row, class Next>
void ReleaseChain(Row*& first, std::vector<Row*>& index, Next next) {
  std::vector<Row*> chain;
  chain.reserve(index.size());
  for (Row* row = first; row; row = next(row)) chain.push_back(row);
  NUV_DEBUG_ASSERT(chain == index);  // the index holds the chain's rows in chain order
  for (Row* row : chain) row->Release();
  first = nullptr;
  index.clear();
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

// A list of base objects each held with a reference of the operation's
// own; releases them and empties the list when it goes, on every path.
class HeldList {
 public:
  HeldList() = default;
  HeldList(const HeldList&) = delete;
  HeldList& operator=(const HeldList&) = delete;
  ~HeldList() { ReleaseAll(list_); }
  NUVListPtrNUVBaseUnknown& get() { return list_; }
  const NUVListPtrNUVBaseUnknown& operator*() const { return list_; }

 private:
  NUVListPtrNUVBaseUnknown list_;
};

}  // namespace nuvedb
