#include "NUVObjectPool.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

constexpr size_t kGranule = 16;
constexpr size_t kClasses = 16;  // blocks of 16, 32, ... 256 bytes
constexpr size_t kSlabBytes = size_t{64} * 1024;

struct FreeBlock {
  FreeBlock* next;
};

size_t ClassOf(size_t size) { return size == 0 ? 0 : (size - 1) / kGranule; }
size_t BlockBytes(size_t sizeClass) { return (sizeClass + 1) * kGranule; }

// Blocks given back by threads that have ended, and every slab. Slabs are
// never handed back: their blocks circulate until the process ends.
struct SharedLists {
  std::mutex mutex;
  FreeBlock* lists[kClasses] = {};
  std::atomic<bool> holds[kClasses] = {};  // lets a thread skip the lock when a list is empty
  std::vector<void*> slabs;

  void Push(size_t sizeClass, FreeBlock* first, FreeBlock* last) {
    std::lock_guard<std::mutex> lock(mutex);
    last->next = lists[sizeClass];
    lists[sizeClass] = first;
    holds[sizeClass].store(true, std::memory_order_relaxed);
  }
  // The whole list when `all`, else its first block.
  FreeBlock* Take(size_t sizeClass, bool all) {
    if (!holds[sizeClass].load(std::memory_order_relaxed)) return nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    FreeBlock* taken = lists[sizeClass];
    lists[sizeClass] = all || !taken ? nullptr : taken->next;
    if (taken && !all) taken->next = nullptr;
    holds[sizeClass].store(lists[sizeClass] != nullptr, std::memory_order_relaxed);
    return taken;
  }
  char* NewSlab() {
    void* slab = std::malloc(kSlabBytes);
    if (!slab) return nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    slabs.push_back(slab);
    return static_cast<char*>(slab);
  }
};

// Never destroyed, so that objects released while the process ends still
// find it.
SharedLists& Shared() {
  static SharedLists* const shared = new SharedLists;
  return *shared;
}

// A thread's own lists. Plain data, so that reaching it costs no
// initialisation check; what must happen when the thread ends is left to a
// separate guard, built on the thread's first slow call.
struct ThreadCache {
  enum State : unsigned char { kNew, kLive, kEnded };
  FreeBlock* lists[kClasses];
  char* slab;  // the unused rest of the current slab
  char* slabEnd;
  State state;

  void* Allocate(size_t sizeClass) {
    FreeBlock* block = lists[sizeClass];
    if (!block) block = Shared().Take(sizeClass, true);
    if (!block) return Carve(BlockBytes(sizeClass));
    lists[sizeClass] = block->next;
    return block;
  }
  void Free(void* memory, size_t sizeClass) {
    auto* block = static_cast<FreeBlock*>(memory);
    block->next = lists[sizeClass];
    lists[sizeClass] = block;
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
    return block;
  }
  // Hands every free block to the shared lists.
  void GiveBack() {
    for (size_t c = 0; c < kClasses; ++c) {
      if (!lists[c]) continue;
      FreeBlock* last = lists[c];
      while (last->next) last = last->next;
      Shared().Push(c, lists[c], last);
      lists[c] = nullptr;
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

void* NUVObjectPool::Allocate(size_t size) noexcept {
  const size_t sizeClass = ClassOf(size);
  if (!kPooled || sizeClass >= kClasses) return std::malloc(size);
  if (ThreadCache* local = LiveCache()) return local->Allocate(sizeClass);
  if (FreeBlock* block = Shared().Take(sizeClass, false)) return block;
  return std::malloc(BlockBytes(sizeClass));  // joins the pool when freed
}

void NUVObjectPool::Free(void* block, size_t size) noexcept {
  if (!block) return;
  const size_t sizeClass = ClassOf(size);
  if (!kPooled || sizeClass >= kClasses) {
    std::free(block);
    return;
  }
  if (ThreadCache* local = LiveCache()) {
    local->Free(block, sizeClass);
    return;
  }
  auto* freed = static_cast<FreeBlock*>(block);
  Shared().Push(sizeClass, freed, freed);
}
