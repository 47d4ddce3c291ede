#include "NUVObjectCounters.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "NUVLockedSingleton.h"

using Slots = NUVObjectCounterSlots;

[[gnu::tls_model("initial-exec")]] constinit thread_local NUVObjectCounterSlots nuvObjectCounterSlots{};

namespace {

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

// Registers this thread's slots while it lives and folds them into the
// ended counts when it ends.
struct SlotsGuard {
  SlotsGuard() {
    std::lock_guard<std::mutex> lock(Threads().mutex);
    Threads().threads.push_back(&nuvObjectCounterSlots);
    nuvObjectCounterSlots.state = Slots::kLive;
  }
  ~SlotsGuard() {
    Slots& mine = nuvObjectCounterSlots;
    Registry& registry = Threads();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.endedLive.fetch_add(mine.live.load(std::memory_order_relaxed), std::memory_order_relaxed);
    registry.endedAllocations.fetch_add(mine.allocations.load(std::memory_order_relaxed),
                                        std::memory_order_relaxed);
    std::erase(registry.threads, &mine);
    mine.state = Slots::kEnded;
  }
};

}  // namespace

// Counts `by` in the ended counts, or in this thread's slot once its guard
// is built: the way for a thread's first count and for counts while it ends.
void NUVObjectCounters::CountSlowly(std::atomic<long> Slots::*slot, long by) {
  Slots& mine = nuvObjectCounterSlots;
  if (mine.state == Slots::kNew) {
    thread_local SlotsGuard guard;
  }
  if (mine.state == Slots::kLive) {
    Bump(mine.*slot, by);
  } else {
    Registry& registry = Threads();
    (slot == &Slots::live ? registry.endedLive : registry.endedAllocations)
        .fetch_add(by, std::memory_order_relaxed);
  }
}

long NUVObjectCounters::LiveObjects() { return Threads().Sum(&Slots::live, Threads().endedLive); }
long NUVObjectCounters::Allocations() {
  return Threads().Sum(&Slots::allocations, Threads().endedAllocations);
}
