#include "NUVObjectCounters.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "NUVLockedSingleton.h"

namespace {

// One thread's counts. Only the owner writes them; readers on other threads
// load them, hence atomics with relaxed order.
struct Slots {
  enum State : unsigned char { kNew, kLive, kEnded };
  std::atomic<long> live;
  std::atomic<long> allocations;
  State state;
};

void Bump(std::atomic<long>& slot, long by) {
  slot.store(slot.load(std::memory_order_relaxed) + by, std::memory_order_relaxed);
}

// Every live thread's slots, and the counts of threads that have ended.
struct Registry {
  std::mutex mutex;
  std::vector<Slots*> threads;
  std::atomic<long> endedLive{0};
  std::atomic<long> endedAllocations{0};

  long Sum(std::atomic<long> Slots::*slot, const std::atomic<long>& ended) {
    std::lock_guard<std::mutex> lock(mutex);
    long sum = ended.load(std::memory_order_relaxed);
    for (Slots* slots : threads) sum += (slots->*slot).load(std::memory_order_relaxed);
    return sum;
  }
};

Registry& Threads() { return NUVLockedSingleton<Registry>(); }

// Plain data in the initial-exec model: reaching it costs neither an
// initialisation check nor a call.
[[gnu::tls_model("initial-exec")]] thread_local Slots mine{};

// Registers this thread's slots while it lives and folds them into the
// ended counts when it ends.
struct SlotsGuard {
  SlotsGuard() {
    std::lock_guard<std::mutex> lock(Threads().mutex);
    Threads().threads.push_back(&mine);
    mine.state = Slots::kLive;
  }
  ~SlotsGuard() {
    Registry& registry = Threads();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.endedLive.fetch_add(mine.live.load(std::memory_order_relaxed), std::memory_order_relaxed);
    registry.endedAllocations.fetch_add(mine.allocations.load(std::memory_order_relaxed),
                                        std::memory_order_relaxed);
    std::erase(registry.threads, &mine);
    mine.state = Slots::kEnded;
  }
};

// Counts `by` in the ended counts, or in this thread's slot once its guard
// is built: the way for a thread's first count and for counts while it ends.
[[gnu::noinline]] void CountSlowly(std::atomic<long> Slots::*slot, std::atomic<long> Registry::*ended,
                                   long by) {
  if (mine.state == Slots::kNew) {
    thread_local SlotsGuard guard;
  }
  if (mine.state == Slots::kLive) {
    Bump(mine.*slot, by);
  } else {
    (Threads().*ended).fetch_add(by, std::memory_order_relaxed);
  }
}

// Counts `by` in this thread's slot; the slow way only for a thread's
// first count and for counts while it ends.
template <std::atomic<long> Slots::*slot, std::atomic<long> Registry::*ended>
void Count(long by) {
  if (mine.state == Slots::kLive) return Bump(mine.*slot, by);
  CountSlowly(slot, ended, by);
}

}  // namespace

void NUVObjectCounters::ObjectBuilt() { Count<&Slots::live, &Registry::endedLive>(1); }
void NUVObjectCounters::ObjectDestroyed() { Count<&Slots::live, &Registry::endedLive>(-1); }
void NUVObjectCounters::BlockAllocated() { Count<&Slots::allocations, &Registry::endedAllocations>(1); }

long NUVObjectCounters::LiveObjects() { return Threads().Sum(&Slots::live, Threads().endedLive); }
long NUVObjectCounters::Allocations() {
  return Threads().Sum(&Slots::allocations, Threads().endedAllocations);
}
