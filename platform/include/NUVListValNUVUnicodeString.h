#pragma once
#include "NUVCollection.h"
#include "NUVUnicodeString.h"

// A 1-based list of strings, held by value.
class NUVListValNUVUnicodeString final : public NUVCollection<NUVUnicodeString> {
 public:
  using NUVCollection::NUVCollection;
};
