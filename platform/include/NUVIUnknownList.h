#pragma once
#include "IUnknown.h"

inline constexpr GUID IID_NUVIUnknownList{
    0x209F24F4, 0x465C, 0x11D3, {0xB8, 0x02, 0x00, 0x08, 0xC7, 0x0F, 0xC8, 0x70}};

// A list of interface pointers, positions from 0, holding a reference on
// each item. Codes are negative on failure.
class NUVIUnknownList : public IUnknown {
 public:
  // Writes the number of items.
  virtual long Count(unsigned int* count) const = 0;
  // Hands out the item at the position with a new reference (null items stay null).
  virtual long Item(unsigned int position, IUnknown** item) const = 0;
  // Inserts the item at the position (0..Count); the list takes its own reference.
  virtual long Add(unsigned int position, IUnknown* item) = 0;

 protected:
  ~NUVIUnknownList() = default;
};
