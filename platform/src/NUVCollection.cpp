#include "NUVCollection.h"

#include <string>

#include "NUVInternalError.h"
#include "NUVRawCollPV.h"

void NUVRaiseIndexError(int index, int size) {
  auto* error = new NUVInternalError(2, "IndexOutOfRange", "NUVPlatform");
  const std::string text = "index " + std::to_string(index) + " outside 1.." + std::to_string(size);
  error->SetMessageText(text.c_str());
  NUVRaise(error, __FILE__, __LINE__);
}

void NUVRawCollPV::Swap(int i, int j) { std::swap((*this)[i], (*this)[j]); }

void NUVRawCollPV::QuickSort(int (*compare)(const void*, const void*)) {
  if (!compare) return;
  std::vector<void*>& items = Items();
  // Merge sort: stays within bounds whatever the comparison answers.
  std::vector<void*> buffer(items.size());
  for (size_t width = 1; width < items.size(); width *= 2) {
    for (size_t left = 0; left < items.size(); left += 2 * width) {
      const size_t middle = std::min(left + width, items.size());
      const size_t right = std::min(left + 2 * width, items.size());
      size_t a = left, b = middle, out = left;
      while (a < middle && b < right) buffer[out++] = compare(items[b], items[a]) < 0 ? items[b++] : items[a++];
      while (a < middle) buffer[out++] = items[a++];
      while (b < right) buffer[out++] = items[b++];
    }
    items.swap(buffer);
  }
}
