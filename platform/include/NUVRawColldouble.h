#pragma once
#include "NUVCollection.h"

// A 1-based collection of double values.
class NUVRawColldouble final : public NUVCollection<double> {
 public:
  using NUVCollection::NUVCollection;
};
