#pragma once

// The counts behind NUVBaseUnknown's live-object and allocation figures.
// Each thread counts in its own slots with plain stores, so that making and
// dropping an object takes no locked instruction; reading a count sums the
// slots of every thread and what ended threads left behind.
class NUVObjectCounters {
 public:
  static void ObjectBuilt();
  static void ObjectDestroyed();
  static void BlockAllocated();

  static long LiveObjects();
  static long Allocations();
};
