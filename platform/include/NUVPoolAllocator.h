#pragma once
#include <cstddef>
#include <limits>
#include <new>

#include "NUVObjectPool.h"

// A standard allocator that takes its memory from NUVObjectPool, so that
// the many short lists of cells are made and dropped without the general
// heap. Throws std::bad_alloc when no memory is left, as std::allocator does.
template <class T>
class NUVPoolAllocator {
 public:
  static_assert(alignof(T) <= 16, "pool blocks are aligned to 16 bytes");
  using value_type = T;  // what the allocator allocates

  NUVPoolAllocator() noexcept = default;
  // Any two pool allocators are interchangeable: the pool is one.
  template <class U>
  NUVPoolAllocator(const NUVPoolAllocator<U>& /*other*/) noexcept {}  // NOLINT(google-explicit-constructor)

  // Room for n objects of T from the pool; throws when n is too large or
  // no memory is left.
  T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    void* block = NUVObjectPool::AllocateOutOfLine(n * sizeof(T));
    if (!block) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  // Gives back room for n objects that allocate(n) handed out.
  void deallocate(T* block, std::size_t n) noexcept { NUVObjectPool::FreeOutOfLine(block, n * sizeof(T)); }

  // Always true: memory from one pool allocator may be freed through any.
  template <class U>
  bool operator==(const NUVPoolAllocator<U>& /*other*/) const noexcept {
    return true;
  }
};
