#pragma once
#include <cstddef>

#include "NUVPlatformExport.h"

// Memory for reference-counted objects and the platform's lists. Small blocks come from per-thread
// free lists by size class, carved from large slabs, so that building and
// dropping many cells neither calls the general heap per object nor hands
// pages back to the system only to fault them in again. A block freed on
// another thread joins that thread's lists. Larger blocks go to the
// general heap. Under AddressSanitizer every byte the pool holds but has
// not handed out (free blocks, the uncarved rest of a slab, the slack at
// the end of a block) is poisoned, and a freed block is the last of its
// class to be handed out again, so that a use after free or an overrun
// inside the pool is reported; under MemorySanitizer every block comes
// from the general heap.
class NUVPLATFORM_API NUVObjectPool {
 public:
  // A block of at least `size` bytes, aligned for any object; null when no
  // memory is left.
  static void* Allocate(size_t size) noexcept;
  // Gives back a block that Allocate answered for the same size.
  static void Free(void* block, size_t size) noexcept;
};
