#pragma once

// Options of the platform collections.
struct NUVCollec {
  // RemoveAll empties the list in either mode; FreeMemory also gives back
  // the storage.
  enum MemoryHandling { KeepMemory = 0, FreeMemory = 1 };
};
