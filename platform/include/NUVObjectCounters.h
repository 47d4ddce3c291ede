#pragma once
#include <atomic>

#include "NUVObjectCounterSlots.h"
#include "NUVPlatformExport.h"

// The counts behind NUVBaseUnknown's live-object and allocation figures,
// inline in the constructors and destructor of every object.
// Each thread counts in its own slots with plain stores, so that making and
// dropping an object takes no locked instruction; reading a count sums the
// slots of every thread and what ended threads left behind.
class NUVPLATFORM_API NUVObjectCounters {
 public:
  // Counts an object built.
  static void ObjectBuilt() { Count(&NUVObjectCounterSlots::live, 1); }
  // Counts an object destroyed.
  static void ObjectDestroyed() { Count(&NUVObjectCounterSlots::live, -1); }
  // Counts a base-object allocation asked for.
  static void BlockAllocated() { Count(&NUVObjectCounterSlots::allocations, 1); }

  // Objects alive in the process: built less destroyed, on every thread.
  static long LiveObjects();
  // Base-object allocations asked for in the process.
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
