#pragma once
#include <initializer_list>

#include "NUVBaseUnknown.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVListValNUVUnicodeString.h"
#include "NUVRefList.h"

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

// The tests' name for the platform's owning list of references.
using OwnedList = NUVRefList;
