#include "NUVObjectPool.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "NUVDebugAssert.h"
#include "NUVLockedSingleton.h"

#if defined(__SANITIZE_ADDRESS__)
#define NUV_POOL_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NUV_POOL_POISONS 1
#endif
#endif
#if defined(__has_feature)
#if __has_feature(memory_sanitizer)
#define NUV_POOL_BYPASSED 1
#endif
#endif

#if defined(NUV_POOL_POISONS)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Under MemorySanitizer every block comes from the general heap, which it
// must see. Under AddressSanitizer the pool stays and marks what it does
// not hand out (free blocks, the uncarved rest of each slab) as poisoned,
// so that a use after free inside the pool is reported.
#if defined(NUV_POOL_BYPASSED)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

#if defined(NUV_POOL_POISONS)
void Poison(const void* memory, size_t bytes) { ASAN_POISON_MEMORY_REGION(memory, bytes); }
void Unpoison(const void* memory, size_t bytes) { ASAN_UNPOISON_MEMORY_REGION(memory, bytes); }
// A freed block waits behind every other free block of its class before it
// is handed out again, so that a stale pointer keeps pointing at poison.
constexpr bool kReuseLast = true;
#else
void Poison(const void*, size_t) {}
void Unpoison(const void*, size_t) {}
constexpr bool kReuseLast = false;
#endif

constexpr size_t kGranule = 16;
constexpr size_t kClasses = 16;  // blocks of 16, 32, ... 256 bytes
constexpr size_t kSlabBytes = size_t{64} * 1024;

struct FreeBlock {
  FreeBlock* next;
};

// The link of a free block, which is poisoned but for these accesses.
FreeBlock* NextOf(const FreeBlock* block) {
  Unpoison(block, sizeof(FreeBlock));
  FreeBlock* next = block->next;
  Poison(block, sizeof(FreeBlock));
  return next;
}
void SetNext(FreeBlock* block, FreeBlock* next) {
  Unpoison(block, sizeof(FreeBlock));
  block->next = next;
  Poison(block, sizeof(FreeBlock));
}

size_t ClassOf(size_t size) { return size == 0 ? 0 : (size - 1) / kGranule; }
[[maybe_unused]] inline bool IsAligned(const void* block) {
  return reinterpret_cast<std::uintptr_t>(block) % kGranule == 0;
}
size_t BlockBytes(size_t sizeClass) { return (sizeClass + 1) * kGranule; }

// A list of free blocks that knows its last block, so that whole lists
// join in constant time.
struct Chain {
  FreeBlock* first;
  FreeBlock* last;  // meaningful only while first is not null

  // An empty chain has no first block; a chain's last block ends it.
  bool Sound() const { return !first || NextOf(last) == nullptr; }

  void PushFront(FreeBlock* block) {
    SetNext(block, first);
    if (!first) last = block;
    first = block;
    NUV_DEBUG_ASSERT(Sound());
  }
  void PushBack(FreeBlock* block) {
    SetNext(block, nullptr);
    if (first) {
      SetNext(last, block);
    } else {
      first = block;
    }
    last = block;
    NUV_DEBUG_ASSERT(Sound());
  }
  FreeBlock* PopFront() {
    FreeBlock* block = first;
    if (block) first = NextOf(block);
    NUV_DEBUG_ASSERT(!block || IsAligned(block));
    return block;
  }
  void Join(Chain& other) {
    if (!other.first) return;
    SetNext(other.last, first);
    if (!first) last = other.last;
    first = other.first;
    other = Chain{};
    NUV_DEBUG_ASSERT(Sound());
  }
};

// Blocks given back by threads that have ended, and every slab. Slabs are
// never handed back: their blocks circulate until the process ends.
struct SharedLists {
  std::mutex mutex;
  Chain chains[kClasses] = {};
  std::atomic<bool> holds[kClasses] = {};  // lets a thread skip the lock when a list is empty
  std::vector<void*> slabs;

  void Give(size_t sizeClass, Chain& chain) {
    std::lock_guard<std::mutex> lock(mutex);
    chains[sizeClass].Join(chain);
    holds[sizeClass].store(chains[sizeClass].first != nullptr, std::memory_order_relaxed);
  }
  // Moves the whole shared list of the class into `into`.
  void TakeAll(size_t sizeClass, Chain& into) {
    if (!holds[sizeClass].load(std::memory_order_relaxed)) return;
    std::lock_guard<std::mutex> lock(mutex);
    into.Join(chains[sizeClass]);
    holds[sizeClass].store(false, std::memory_order_relaxed);
  }
  char* NewSlab() {
    void* slab = std::malloc(kSlabBytes);
    if (!slab) return nullptr;
    Poison(slab, kSlabBytes);  // each block is made accessible as it is handed out
    std::lock_guard<std::mutex> lock(mutex);
    slabs.push_back(slab);
    return static_cast<char*>(slab);
  }
};

SharedLists& Shared() { return NUVLockedSingleton<SharedLists>(); }

// A thread's own lists. Plain data, so that reaching it costs no
// initialisation check; what must happen when the thread ends is left to a
// separate guard, built on the thread's first slow call.
struct ThreadCache {
  enum State : unsigned char { kNew, kLive, kEnded };
  Chain chains[kClasses];
  char* slab;  // the unused rest of the current slab
  char* slabEnd;
  State state;

  void* Allocate(size_t sizeClass) {
    Chain& chain = chains[sizeClass];
    if (!chain.first) Shared().TakeAll(sizeClass, chain);
    if (FreeBlock* block = chain.PopFront()) return block;
    return Carve(BlockBytes(sizeClass));
  }
  void Free(void* memory, size_t sizeClass) {
    auto* block = static_cast<FreeBlock*>(memory);
    if (kReuseLast) {
      chains[sizeClass].PushBack(block);
    } else {
      chains[sizeClass].PushFront(block);
    }
  }
  void* Carve(size_t bytes) {
    if (static_cast<size_t>(slabEnd - slab) < bytes) {
      // What is left of the old slab is smaller than the block; it stays unused.
      slab = Shared().NewSlab();
      slabEnd = slab ? slab + kSlabBytes : nullptr;
      if (!slab) return nullptr;
    }
    void* block = slab;
    slab += bytes;
    NUV_DEBUG_ASSERT(IsAligned(block) && slab <= slabEnd);
    return block;
  }
  // Hands every free block to the shared lists.
  void GiveBack() {
    for (size_t c = 0; c < kClasses; ++c) {
      Shared().Give(c, chains[c]);
      NUV_DEBUG_ASSERT(!chains[c].first);
    }
  }
};

// Plain data in the initial-exec model: reaching it costs neither an
// initialisation check nor a call.
[[gnu::tls_model("initial-exec")]] thread_local ThreadCache cache{};

// Gives the thread's blocks back when the thread ends.
struct CacheGuard {
  CacheGuard() { cache.state = ThreadCache::kLive; }
  ~CacheGuard() {
    cache.state = ThreadCache::kEnded;
    cache.GiveBack();
  }
};

// This thread's cache; null once the thread is ending.
ThreadCache* LiveCache() {
  if (cache.state == ThreadCache::kLive) return &cache;
  if (cache.state == ThreadCache::kEnded) return nullptr;
  thread_local CacheGuard guard;
  return &cache;
}

}  // namespace

namespace {

// A block of the class from the pool, still poisoned; null when no memory
// is left.
void* Take(size_t sizeClass) {
  if (ThreadCache* local = LiveCache()) return local->Allocate(sizeClass);
  // The thread is ending: one block from the shared list, the rest back.
  Chain taken{};
  Shared().TakeAll(sizeClass, taken);
  FreeBlock* block = taken.PopFront();
  Shared().Give(sizeClass, taken);
  if (block) return block;
  return std::malloc(BlockBytes(sizeClass));  // joins the pool when freed
}

}  // namespace

void* NUVObjectPool::Allocate(size_t size) noexcept {
  const size_t sizeClass = ClassOf(size);
  if (!kPooled || sizeClass >= kClasses) return std::malloc(size);
  void* block = Take(sizeClass);
  if (block) Unpoison(block, size);  // the rest of the block stays poisoned
  return block;
}

void NUVObjectPool::Free(void* block, size_t size) noexcept {
  if (!block) return;
  const size_t sizeClass = ClassOf(size);
  if (!kPooled || sizeClass >= kClasses) {
    std::free(block);
    return;
  }
  NUV_DEBUG_ASSERT(IsAligned(block));
  Poison(block, BlockBytes(sizeClass));
  if (ThreadCache* local = LiveCache()) {
    local->Free(block, sizeClass);
    return;
  }
  Chain single{};
  single.PushFront(static_cast<FreeBlock*>(block));
  Shared().Give(sizeClass, single);
}
