#pragma once
#include <cstddef>
#include <vector>

#include "NUVCollec.h"
#include "NUVPlatformExport.h"
#include "NUVPoolAllocator.h"

// Raises the platform error for an index outside a list of the given size.
[[noreturn]] NUVPLATFORM_API void NUVRaiseIndexError(int index, int size);

// A list numbered from 1. An index outside 1..Size() raises a platform error.
template <class T>
class NUVCollection {
 public:
  // initialSize is the number of items room is made for.
  explicit NUVCollection(int initialSize = 0) {
    if (initialSize > 0) items_.reserve(static_cast<std::size_t>(initialSize));
  }
  // The number of items.
  int Size() const { return static_cast<int>(items_.size()); }
  // Appends the item and returns its number.
  int Append(const T& item) {
    items_.push_back(item);
    return Size();
  }
  // Appends the other list's items in order and returns the new size.
  int Append(const NUVCollection& other) {
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return Size();
  }
  // The items in order, for loops that visit each once without numbering:
  // the first item.
  const T* begin() const { return items_.data(); }
  // Past the last item.
  const T* end() const { return items_.data() + items_.size(); }
  // Item n, from 1; an index outside 1..Size() raises a platform error.
  T& operator[](int n) { return items_[Slot(n)]; }
  // Item n, from 1, read only; an index outside 1..Size() raises a
  // platform error.
  const T& operator[](int n) const { return items_[Slot(n)]; }
  // Makes room for n items in all, so that appending up to them allocates nothing.
  void Reserve(int n) {
    if (n > 0) items_.reserve(static_cast<std::size_t>(n));
  }
  // Empties the list; FreeMemory also gives back its storage, KeepMemory
  // keeps it for a list that is filled again.
  void RemoveAll(NUVCollec::MemoryHandling mode = NUVCollec::FreeMemory) {
    items_.clear();
    if (mode == NUVCollec::FreeMemory) items_.shrink_to_fit();
  }
  // True when both hold equal items in the same order.
  bool operator==(const NUVCollection& other) const { return items_ == other.items_; }

 protected:
  using Storage = std::vector<T, NUVPoolAllocator<T>>;  // the items, in pool memory
  // The items themselves, for derived lists that sort or reorder them.
  Storage& Items() { return items_; }

 private:
  std::size_t Slot(int n) const {
    if (n < 1 || n > Size()) NUVRaiseIndexError(n, Size());
    return static_cast<std::size_t>(n - 1);
  }
  Storage items_;
};
