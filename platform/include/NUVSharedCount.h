#pragma once
#include <atomic>

#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#define NUV_HAS_SINGLE_THREADED_FLAG 1
#endif

// True while the process runs one thread only. The C library clears its flag
// before it starts a second thread, and that start orders everything the
// first thread did before it; so while this answers true no other thread can
// read or change a count.
inline bool NUVProcessIsSingleThreaded() noexcept {
#ifdef NUV_HAS_SINGLE_THREADED_FLAG
  return __libc_single_threaded != 0;
#else
  return false;
#endif
}

// A reference count that several threads may hold. It takes no locked
// instruction while the process has one thread, nor for the last holder's
// decrement (a holder who sees the count at one is the only one who can
// change it); otherwise it counts with atomic read-modify-writes.
template <typename Integer>
class NUVSharedCount {
 public:
  // A count that starts at start.
  constexpr explicit NUVSharedCount(Integer start) noexcept : count_(start) {}
  NUVSharedCount(const NUVSharedCount&) = delete;
  NUVSharedCount& operator=(const NUVSharedCount&) = delete;

  // Adds one reference; returns the count it made.
  Integer Increment() noexcept {
    if (NUVProcessIsSingleThreaded()) return Store(count_.load(std::memory_order_relaxed) + 1);
    return count_.fetch_add(1, std::memory_order_relaxed) + 1;
  }

  // Takes one reference away; returns the count left. When it returns 0,
  // the caller sees every write other holders made before they let go.
  Integer Decrement() noexcept {
    if (NUVProcessIsSingleThreaded()) return Store(count_.load(std::memory_order_relaxed) - 1);
    if (count_.load(std::memory_order_acquire) == 1) return Store(0);
    return count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  }

  // True when the caller's reference is the only one; the caller then sees
  // every write other holders made before they let go.
  bool IsSole() const noexcept { return count_.load(std::memory_order_acquire) == 1; }
  // The count as it stands; another thread may change it at once.
  Integer Load() const noexcept { return count_.load(std::memory_order_relaxed); }

 private:
  Integer Store(Integer value) noexcept {
    count_.store(value, std::memory_order_relaxed);
    return value;
  }

  std::atomic<Integer> count_;
};
