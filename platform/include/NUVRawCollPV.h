#pragma once
#include <algorithm>
#include <type_traits>

#include "NUVCollection.h"
#include "NUVPlatformExport.h"

// A 1-based collection of untyped pointers; it owns nothing they point at.
class NUVPLATFORM_API NUVRawCollPV : public NUVCollection<void*> {
 public:
  using NUVCollection::NUVCollection;
  virtual ~NUVRawCollPV() = default;
  // @{
  // Copies the pointers.
  NUVRawCollPV(const NUVRawCollPV&) = default;
  NUVRawCollPV& operator=(const NUVRawCollPV&) = default;
  // @}

  // Non-zero unless both hold the same pointers in the same order.
  int operator!=(const NUVRawCollPV& other) const { return !(*this == other); }
  // Exchanges items i and j.
  void Swap(int i, int j);
  // Sorts stably by the comparison, which receives two stored pointers and
  // answers below, at or above 0.
  void QuickSort(int (*compare)(const void*, const void*));
  // The same with any callable compare(const void*, const void*) -> int.
  template <class Compare>
  void SortWith(Compare compare);
};

template <class Compare>
void NUVRawCollPV::SortWith(Compare compare) {
  auto& items = Items();
  // Bottom-up merge sort: stable, and within bounds whatever compare answers.
  std::remove_reference_t<decltype(items)> buffer(items.size());
  for (std::size_t width = 1; width < items.size(); width *= 2) {
    for (std::size_t left = 0; left < items.size(); left += 2 * width) {
      const std::size_t middle = std::min(left + width, items.size());
      const std::size_t right = std::min(left + 2 * width, items.size());
      std::size_t a = left, b = middle, out = left;
      while (a < middle && b < right) buffer[out++] = compare(items[b], items[a]) < 0 ? items[b++] : items[a++];
      while (a < middle) buffer[out++] = items[a++];
      while (b < right) buffer[out++] = items[b++];
    }
    items.swap(buffer);
  }
}
