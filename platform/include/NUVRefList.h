#pragma once
#include <utility>
// NUVRefList: a 1-based list of base objects that owns one reference on
// each entry and releases them all when it goes, on every path, the
// unwinding of a raised error included. The list form of NUVRef.
//
//   NUVRefList cells;
//   table.GetRow(n, cells.get());          // each cell handed out to us
//   NUVRefList parameters{new NUVEdbSQLData(":ID", 42)};  // adopted
//
// It moves nowhere and is never copied.
#include <initializer_list>

#include "NUVBaseUnknown.h"
#include "NUVListPtrNUVBaseUnknown.h"

class NUVRefList {
 public:
  NUVRefList() = default;
  // Adopts the reference the caller had on each entry (null allowed).
  NUVRefList(std::initializer_list<NUVBaseUnknown*> adopted) {
    for (NUVBaseUnknown* entry : adopted) Adopt(entry);
  }
  NUVRefList(const NUVRefList&) = delete;
  NUVRefList& operator=(const NUVRefList&) = delete;
  ~NUVRefList() { Clear(); }

  // Appends the entry with the reference the caller had (null allowed).
  void Adopt(NUVBaseUnknown* entry) { list_.Append(entry); }
  // Releases every entry and empties the list; KeepMemory keeps its room
  // for a list that is filled again.
  void Clear(NUVCollec::MemoryHandling memory = NUVCollec::FreeMemory) {
    for (NUVBaseUnknown* entry : std::as_const(list_)) {
      if (entry) entry->Release();
    }
    list_.RemoveAll(memory);
  }
  // The number of entries.
  int Size() const { return list_.Size(); }
  // @{
  // The list, for operations that append entries with a reference each.
  NUVListPtrNUVBaseUnknown& get() { return list_; }
  const NUVListPtrNUVBaseUnknown& get() const { return list_; }
  operator NUVListPtrNUVBaseUnknown&() { return list_; }  // NOLINT(google-explicit-constructor)
  // @}

 private:
  NUVListPtrNUVBaseUnknown list_;
};
