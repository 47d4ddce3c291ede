#pragma once
#include "NUVCollection.h"

// A 1-based collection of int values.
class NUVRawCollint final : public NUVCollection<int> {
 public:
  using NUVCollection::NUVCollection;
};
