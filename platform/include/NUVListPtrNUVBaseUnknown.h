#pragma once
#include "NUVCollection.h"

class NUVBaseUnknown;

// A 1-based list of object pointers. It takes no references: whoever puts a
// pointer in says who owns it.
class NUVListPtrNUVBaseUnknown final : public NUVCollection<NUVBaseUnknown*> {
 public:
  using NUVCollection::NUVCollection;
};
