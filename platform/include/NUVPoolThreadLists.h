#pragma once
#include <cstddef>

#include "NUVPlatformExport.h"

// A thread's free lists and the uncarved rest of its current slab: plain
// data, so that reaching it costs neither a call nor an initialisation
// check. The pool's own code keeps it; the inline paths of NUVObjectPool
// only pop, push and carve while `fast` is set.
struct NUVPoolThreadLists {
  static constexpr std::size_t kGranule = 16;  // block sizes are multiples of it
  static constexpr std::size_t kClasses = 16;  // blocks of 16, 32, ... 256 bytes

  // A free list: blocks linked through their first bytes.
  struct Chain {
    void* first;  // the block handed out next; null when the list is empty
    void* last;  // meaningful only while first is not null
  };
  Chain chains[kClasses];  // one free list per size class
  char* slab;              // the uncarved rest of the current slab
  char* slabEnd;           // the end of the current slab
  std::size_t slabsTaken;  // how many slabs the thread has carved from
  // Set while the thread is live and the pool hands out blocks without
  // poisoning them; otherwise every call takes the out-of-line path.
  bool fast;
  unsigned char state;  // the pool's own bookkeeping

  // The class of a block of `size` bytes; kClasses or more when the pool
  // does not keep blocks of that size (0 included).
  static constexpr std::size_t ClassOf(std::size_t size) { return (size - 1) / kGranule; }
};

[[gnu::tls_model(
    "initial-exec")]] extern NUVPLATFORM_API constinit thread_local NUVPoolThreadLists nuvPoolThreadLists;
