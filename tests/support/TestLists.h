#pragma once
#include <initializer_list>

#include "NUVBaseUnknown.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVListValNUVUnicodeString.h"

// A 1-based collection of the given values (NUVRawCollint and its kin).
template <class Collection, class T>
Collection Values(std::initializer_list<T> values) {
  Collection collection;
  for (const T& value : values) collection.Append(value);
  return collection;
}

inline NUVListValNUVUnicodeString Texts(std::initializer_list<const char*> texts) {
  NUVListValNUVUnicodeString list;
  for (const char* text : texts) list.Append(text);
  return list;
}

// A list of base objects that owns one reference on each entry.
class OwnedList {
 public:
  OwnedList() = default;
  OwnedList(std::initializer_list<NUVBaseUnknown*> adopted) {
    for (NUVBaseUnknown* entry : adopted) Adopt(entry);
  }
  OwnedList(const OwnedList&) = delete;
  OwnedList& operator=(const OwnedList&) = delete;
  ~OwnedList() { Clear(); }
  // Appends the entry with the reference the caller had (null allowed).
  void Adopt(NUVBaseUnknown* entry) { list_.Append(entry); }
  void Clear() {
    for (int i = 1; i <= list_.Size(); ++i) {
      if (list_[i]) list_[i]->Release();
    }
    list_.RemoveAll(NUVCollec::FreeMemory);
  }
  NUVListPtrNUVBaseUnknown& get() { return list_; }
  operator NUVListPtrNUVBaseUnknown&() { return list_; }  // NOLINT(google-explicit-constructor)

 private:
  NUVListPtrNUVBaseUnknown list_;
};
