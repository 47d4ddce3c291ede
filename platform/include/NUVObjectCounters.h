#pragma once
#include <atomic>

#include "NUVPlatformExport.h"

// One thread's counts. Only the owner writes them; readers on other threads
// load them, hence atomics with relaxed order.
struct NUVObjectCounterSlots {
  enum State : unsigned char { kNew, kLive, kEnded };
  std::atomic<long> live;
  std::atomic<long> allocations;
  State state;
};

// This thread's slots: plain data in the initial-exec model, so that
// reaching them costs neither an initialisation check nor a call.
[[gnu::tls_model("initial-exec")]] extern NUVPLATFORM_API constinit thread_local NUVObjectCounterSlots
    nuvObjectCounterSlots;

// The counts behind NUVBaseUnknown's live-object and allocation figures,
// inline in the constructors and destructor of every object.
// Each thread counts in its own slots with plain stores, so that making and
// dropping an object takes no locked instruction; reading a count sums the
// slots of every thread and what ended threads left behind.
class NUVPLATFORM_API NUVObjectCounters {
 public:
  static void ObjectBuilt() { Count(&NUVObjectCounterSlots::live, 1); }
  static void ObjectDestroyed() { Count(&NUVObjectCounterSlots::live, -1); }
  static void BlockAllocated() { Count(&NUVObjectCounterSlots::allocations, 1); }

  static long LiveObjects();
  static long Allocations();

 private:
  // Counts `by` in this thread's slot; the slow way only for a thread's
  // first count and for counts while it ends.
  static void Count(std::atomic<long> NUVObjectCounterSlots::*slot, long by) {
    NUVObjectCounterSlots& mine = nuvObjectCounterSlots;
    if (mine.state != NUVObjectCounterSlots::kLive) return CountSlowly(slot, by);
    std::atomic<long>& counter = mine.*slot;
    counter.store(counter.load(std::memory_order_relaxed) + by, std::memory_order_relaxed);
  }
  [[gnu::noinline]] static void CountSlowly(std::atomic<long> NUVObjectCounterSlots::*slot, long by);
};
