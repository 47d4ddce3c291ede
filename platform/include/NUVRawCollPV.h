#pragma once
#include "NUVCollection.h"
#include "NUVPlatformExport.h"

// A 1-based collection of untyped pointers; it owns nothing they point at.
class NUVPLATFORM_API NUVRawCollPV : public NUVCollection<void*> {
 public:
  using NUVCollection::NUVCollection;
  virtual ~NUVRawCollPV() = default;
  NUVRawCollPV(const NUVRawCollPV&) = default;
  NUVRawCollPV& operator=(const NUVRawCollPV&) = default;

  int operator!=(const NUVRawCollPV& other) const { return !(*this == other); }
  // Exchanges items i and j.
  void Swap(int i, int j);
  // Sorts stably by the comparison, which receives two stored pointers and
  // answers below, at or above 0.
  void QuickSort(int (*compare)(const void*, const void*));
};
