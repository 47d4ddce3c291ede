#include "NUVObjectPool.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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

constexpr size_t kGranule = NUVPoolThreadLists::kGranule;
constexpr size_t kClasses = NUVPoolThreadLists::kClasses;
// A thread's slabs double from the first size to the last, so that a thread
// that allocates little holds little, while one that builds large tables
// carves from slabs the kernel may back with huge pages: walking tens of
// megabytes of cells then costs far fewer address-translation misses.
// Slabs are mapped outside the general heap, except under AddressSanitizer,
// whose leak check scans the heap for the pointers that blocks hold.
constexpr size_t kFirstSlabBytes = size_t{64} * 1024;
constexpr size_t kHugePageBytes = size_t{2} * 1024 * 1024;
#if defined(__linux__) && !defined(NUV_POOL_POISONS)
constexpr bool kMapsSlabs = true;
constexpr size_t kLastSlabBytes = kHugePageBytes;
#else
constexpr bool kMapsSlabs = false;
constexpr size_t kLastSlabBytes = kFirstSlabBytes;
#endif

size_t SlabBytes(size_t slabsTaken) {
  size_t bytes = kFirstSlabBytes;
  for (size_t n = 0; n < slabsTaken && bytes < kLastSlabBytes; ++n) bytes *= 2;
  return bytes;
}

// Fresh memory for a slab of `bytes`; null when there is none. A slab of
// huge-page size starts at a huge-page boundary, and the kernel is asked to
// back it with one huge page.
void* SlabMemory(size_t bytes) {
#if defined(__linux__)
  if (kMapsSlabs) {
    const size_t alignment = bytes == kHugePageBytes ? kHugePageBytes : 0;
    const size_t mappedBytes = bytes + alignment;
    void* mapped = mmap(nullptr, mappedBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    if (alignment == 0) return mapped;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t slab = (start + alignment - 1) & ~(alignment - 1);
    // The unaligned head and the tail past the slab go back at once.
    if (slab > start) munmap(mapped, slab - start);
    const std::uintptr_t tail = slab + bytes;
    if (tail < start + mappedBytes) munmap(reinterpret_cast<void*>(tail), start + mappedBytes - tail);
    madvise(reinterpret_cast<void*>(slab), bytes, MADV_HUGEPAGE);  // a hint; plain pages else
    return reinterpret_cast<void*>(slab);
  }
#endif
  return std::malloc(bytes);
}
// Only a build that neither poisons nor bypasses the pool lets the inline
// paths of NUVObjectPool touch the thread's lists.
#if defined(NUV_POOL_POISONS)
constexpr bool kInlinePaths = false;
#else
constexpr bool kInlinePaths = kPooled;
#endif

using Chain = NUVPoolThreadLists::Chain;

// The link of a free block, held in its first bytes, which are poisoned but
// for these accesses.
void* NextOf(const void* block) {
  Unpoison(block, sizeof(void*));
  void* next = *static_cast<void* const*>(block);
  Poison(block, sizeof(void*));
  return next;
}
void SetNext(void* block, void* next) {
  Unpoison(block, sizeof(void*));
  *static_cast<void**>(block) = next;
  Poison(block, sizeof(void*));
}

[[maybe_unused]] inline bool IsAligned(const void* block) {
  return reinterpret_cast<std::uintptr_t>(block) % kGranule == 0;
}
size_t BlockBytes(size_t sizeClass) { return (sizeClass + 1) * kGranule; }

// A chain of free blocks knows its last block, so that whole chains join in
// constant time. An empty chain has no first block; a chain's last block
// ends it.
[[maybe_unused]] bool Sound(const Chain& chain) { return !chain.first || NextOf(chain.last) == nullptr; }

void PushFront(Chain& chain, void* block) {
  SetNext(block, chain.first);
  if (!chain.first) chain.last = block;
  chain.first = block;
  NUV_DEBUG_ASSERT(Sound(chain));
}
void PushBack(Chain& chain, void* block) {
  SetNext(block, nullptr);
  if (chain.first) {
    SetNext(chain.last, block);
  } else {
    chain.first = block;
  }
  chain.last = block;
  NUV_DEBUG_ASSERT(Sound(chain));
}
void* PopFront(Chain& chain) {
  void* block = chain.first;
  if (block) chain.first = NextOf(block);
  NUV_DEBUG_ASSERT(!block || IsAligned(block));
  return block;
}
// Moves every block of `other` to the front of `into`.
void Join(Chain& into, Chain& other) {
  if (!other.first) return;
  SetNext(other.last, into.first);
  if (!into.first) into.last = other.last;
  into.first = other.first;
  other = Chain{};
  NUV_DEBUG_ASSERT(Sound(into));
}

// Blocks given back by threads that have ended, and every slab. Slabs are
// never handed back: their blocks circulate until the process ends.
struct SharedLists {
  std::mutex mutex;
  Chain chains[kClasses] = {};
  std::atomic<bool> holds[kClasses] = {};  // lets a thread skip the lock when a list is empty
  // Slabs from the general heap, kept reachable for the leak check; mapped
  // slabs are only counted.
  std::vector<void*> slabs;
  std::atomic<size_t> mappedBytes{0};

  void Give(size_t sizeClass, Chain& chain) {
    std::lock_guard<std::mutex> lock(mutex);
    Join(chains[sizeClass], chain);
    holds[sizeClass].store(chains[sizeClass].first != nullptr, std::memory_order_relaxed);
  }
  // Moves the whole shared list of the class into `into`.
  void TakeAll(size_t sizeClass, Chain& into) {
    if (!holds[sizeClass].load(std::memory_order_relaxed)) return;
    std::lock_guard<std::mutex> lock(mutex);
    Join(into, chains[sizeClass]);
    holds[sizeClass].store(false, std::memory_order_relaxed);
  }
  char* NewSlab(size_t bytes) {
    void* slab = SlabMemory(bytes);
    if (!slab) return nullptr;
    Poison(slab, bytes);  // each block is made accessible as it is handed out
    if (kMapsSlabs) {
      mappedBytes.fetch_add(bytes, std::memory_order_relaxed);
    } else {
      std::lock_guard<std::mutex> lock(mutex);
      slabs.push_back(slab);
    }
    return static_cast<char*>(slab);
  }
};

SharedLists& Shared() { return NUVLockedSingleton<SharedLists>(); }

enum State : unsigned char { kNew, kLive, kEnded };

void* Carve(NUVPoolThreadLists& lists, size_t bytes) {
  if (static_cast<size_t>(lists.slabEnd - lists.slab) < bytes) {
    // What is left of the old slab is smaller than the block; it stays unused.
    const size_t slabBytes = SlabBytes(lists.slabsTaken);
    lists.slab = Shared().NewSlab(slabBytes);
    lists.slabEnd = lists.slab ? lists.slab + slabBytes : nullptr;
    if (!lists.slab) return nullptr;
    ++lists.slabsTaken;
  }
  void* block = lists.slab;
  lists.slab += bytes;
  NUV_DEBUG_ASSERT(IsAligned(block) && lists.slab <= lists.slabEnd);
  return block;
}

// A block of the class from the thread's lists, else the shared ones, else
// carved.
void* TakeLocal(NUVPoolThreadLists& lists, size_t sizeClass) {
  Chain& chain = lists.chains[sizeClass];
  if (!chain.first) Shared().TakeAll(sizeClass, chain);
  if (void* block = PopFront(chain)) return block;
  return Carve(lists, BlockBytes(sizeClass));
}

void GiveLocal(NUVPoolThreadLists& lists, void* block, size_t sizeClass) {
  if (kReuseLast) {
    PushBack(lists.chains[sizeClass], block);
  } else {
    PushFront(lists.chains[sizeClass], block);
  }
}

// Gives the thread's blocks back when the thread ends.
struct ListsGuard {
  ListsGuard() {
    nuvPoolThreadLists.state = kLive;
    nuvPoolThreadLists.fast = kInlinePaths;
  }
  ~ListsGuard() {
    NUVPoolThreadLists& lists = nuvPoolThreadLists;
    lists.state = kEnded;
    lists.fast = false;
    lists.slab = lists.slabEnd = nullptr;  // the rest of the slab stays unused
    for (size_t c = 0; c < kClasses; ++c) {
      Shared().Give(c, lists.chains[c]);
      NUV_DEBUG_ASSERT(!lists.chains[c].first);
    }
  }
};

// This thread's lists; null once the thread is ending.
NUVPoolThreadLists* LiveLists() {
  NUVPoolThreadLists& lists = nuvPoolThreadLists;
  if (lists.state == kLive) return &lists;
  if (lists.state == kEnded) return nullptr;
  thread_local ListsGuard guard;
  return &lists;
}

// The class of a block of `size` bytes on the out-of-line paths, where a
// block of no bytes is one of the smallest class.
size_t SlowClassOf(size_t size) { return size == 0 ? 0 : NUVPoolThreadLists::ClassOf(size); }

// A block of the class from the pool, still poisoned; null when no memory
// is left.
void* Take(size_t sizeClass) {
  if (NUVPoolThreadLists* local = LiveLists()) return TakeLocal(*local, sizeClass);
  // The thread is ending: one block from the shared list, the rest back.
  Chain taken{};
  Shared().TakeAll(sizeClass, taken);
  void* block = PopFront(taken);
  Shared().Give(sizeClass, taken);
  if (block) return block;
  return std::malloc(BlockBytes(sizeClass));  // joins the pool when freed
}

}  // namespace

// Plain data in the initial-exec model: reaching it costs neither an
// initialisation check nor a call.
[[gnu::tls_model("initial-exec")]] constinit thread_local NUVPoolThreadLists nuvPoolThreadLists{};

void* NUVObjectPool::AllocateSlow(size_t size) noexcept {
  const size_t sizeClass = SlowClassOf(size);
  if (!kPooled || sizeClass >= kClasses) return std::malloc(size);
  void* block = Take(sizeClass);
  if (block) Unpoison(block, size);  // the rest of the block stays poisoned
  return block;
}

void NUVObjectPool::FreeSlow(void* block, size_t size) noexcept {
  if (!block) return;
  const size_t sizeClass = SlowClassOf(size);
  if (!kPooled || sizeClass >= kClasses) {
    std::free(block);
    return;
  }
  NUV_DEBUG_ASSERT(IsAligned(block));
  Poison(block, BlockBytes(sizeClass));
  if (NUVPoolThreadLists* local = LiveLists()) {
    GiveLocal(*local, block, sizeClass);
    return;
  }
  Chain single{};
  PushFront(single, block);
  Shared().Give(sizeClass, single);
}

void* NUVObjectPool::AllocateOutOfLine(size_t size) noexcept { return Allocate(size); }

void NUVObjectPool::FreeOutOfLine(void* block, size_t size) noexcept { Free(block, size); }

size_t NUVObjectPool::MappedBytesInUse() noexcept {
  if (!kMapsSlabs) return 0;
  const NUVPoolThreadLists& lists = nuvPoolThreadLists;
  return Shared().mappedBytes.load(std::memory_order_relaxed) -
         static_cast<size_t>(lists.slabEnd - lists.slab);
}
