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
  if (compare) SortWith(compare);
}
