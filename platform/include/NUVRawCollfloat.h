#pragma once
#include "NUVCollection.h"

// A 1-based collection of float values.
class NUVRawCollfloat final : public NUVCollection<float> {
 public:
  using NUVCollection::NUVCollection;
};
