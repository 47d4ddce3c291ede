#include "NUVObjectPool.h"

#include <cstdlib>
#include <mutex>
#include <utility>
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
  std::vector<void*> slabs;

  void Push(size_t sizeClass, FreeBlock* first, FreeBlock* last) {
    std::lock_guard<std::mutex> lock(mutex);
    last->next = lists[sizeClass];
    lists[sizeClass] = first;
  }
  FreeBlock* TakeAll(size_t sizeClass) {
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(lists[sizeClass], nullptr);
  }
  FreeBlock* TakeOne(size_t sizeClass) {
    std::lock_guard<std::mutex> lock(mutex);
    FreeBlock* block = lists[sizeClass];
    if (block) lists[sizeClass] = block->next;
    return block;
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

struct ThreadCache {
  FreeBlock* lists[kClasses] = {};
  char* slab = nullptr;  // the unused rest of the current slab
  char* slabEnd = nullptr;

  ThreadCache();
  ~ThreadCache();

  void* Allocate(size_t sizeClass) {
    FreeBlock* block = lists[sizeClass];
    if (!block) block = Shared().TakeAll(sizeClass);
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
};

// True while this thread's cache is built and not yet destroyed.
thread_local bool cacheAlive = false;
thread_local ThreadCache cache;

ThreadCache::ThreadCache() { cacheAlive = true; }

ThreadCache::~ThreadCache() {
  cacheAlive = false;
  for (size_t c = 0; c < kClasses; ++c) {
    if (!lists[c]) continue;
    FreeBlock* last = lists[c];
    while (last->next) last = last->next;
    Shared().Push(c, lists[c], last);
  }
}

// This thread's cache, built on first use; null once it is destroyed, while
// the thread ends.
ThreadCache* LiveCache() {
  thread_local bool built = false;
  if (cacheAlive) return &cache;
  if (built) return nullptr;
  built = true;
  return &cache;
}

}  // namespace

void* NUVObjectPool::Allocate(size_t size) noexcept {
  const size_t sizeClass = ClassOf(size);
  if (!kPooled || sizeClass >= kClasses) return std::malloc(size);
  if (ThreadCache* local = LiveCache()) return local->Allocate(sizeClass);
  if (FreeBlock* block = Shared().TakeOne(sizeClass)) return block;
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
