#pragma once
#include <cstddef>
#include <cstdint>

#include "NUVPlatformExport.h"
#include "NUVPoolThreadLists.h"

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
  // memory is left. The common case (a free block of the class, or room in
  // the thread's slab) is inline.
  static void* Allocate(std::size_t size) noexcept {
    NUVPoolThreadLists& lists = nuvPoolThreadLists;
    const std::size_t sizeClass = NUVPoolThreadLists::ClassOf(size);
    if (lists.fast && sizeClass < NUVPoolThreadLists::kClasses) {
      NUVPoolThreadLists::Chain& chain = lists.chains[sizeClass];
      if (void* block = chain.first) {
        void* next = *static_cast<void**>(block);
        chain.first = next;
        PrefetchAlong(block, next);
        return block;
      }
      const std::size_t bytes = (sizeClass + 1) * NUVPoolThreadLists::kGranule;
      if (static_cast<std::size_t>(lists.slabEnd - lists.slab) >= bytes) {
        void* block = lists.slab;
        lists.slab += bytes;
        return block;
      }
    }
    return AllocateSlow(size);
  }
  // Gives back a block that Allocate answered for the same size.
  static void Free(void* block, std::size_t size) noexcept {
    NUVPoolThreadLists& lists = nuvPoolThreadLists;
    const std::size_t sizeClass = NUVPoolThreadLists::ClassOf(size);
    if (block && lists.fast && sizeClass < NUVPoolThreadLists::kClasses) {
      NUVPoolThreadLists::Chain& chain = lists.chains[sizeClass];
      *static_cast<void**>(block) = chain.first;
      if (!chain.first) chain.last = block;
      chain.first = block;
      return;
    }
    FreeSlow(block, size);
  }
  // @{
  // The same two operations out of line, for callers that allocate seldom
  // and would rather stay small (the standard containers' growth paths).
  static void* AllocateOutOfLine(std::size_t size) noexcept;
  static void FreeOutOfLine(void* block, std::size_t size) noexcept;
  // @}
  // Bytes of the slabs the pool has mapped outside the general heap, where
  // its counts do not see them, less the uncarved rest of the calling
  // thread's slab: what blocks handed out, or freed for reuse, occupy
  // there. Zero in builds whose slabs come from the general heap.
  static std::size_t MappedBytesInUse() noexcept;

 private:
  // Asks for the memory a few blocks further along the chain: blocks freed
  // one after the other lie one after the other, so the chain tends to run
  // in one direction at one stride, and the block four steps on, in the
  // direction and at the stride of the step from `block` to `next`, is
  // likely to be handed out soon. Only a hint: nothing is read there, and a
  // wrong guess (an end of chain, a jump between slabs) does no harm.
  static void PrefetchAlong(const void* block, const void* next) noexcept {
    const auto from = reinterpret_cast<std::uintptr_t>(block);
    const auto to = reinterpret_cast<std::uintptr_t>(next);
    __builtin_prefetch(reinterpret_cast<const void*>(to + 4 * (to - from)), 1);
  }
  static void* AllocateSlow(std::size_t size) noexcept;
  static void FreeSlow(void* block, std::size_t size) noexcept;
};
