#pragma once
#include <atomic>

#include "NUVPlatformExport.h"

// One thread's counts. Only the owner writes them; readers on other threads
// load them, hence atomics with relaxed order.
struct NUVObjectCounterSlots {
  // Where the thread is in its life: before its first count, counting, ended.
  enum State : unsigned char { kNew, kLive, kEnded };
  std::atomic<long> live;         // objects built less objects destroyed
  std::atomic<long> allocations;  // base-object allocations asked for
  State state;                    // where the thread is in its life
};

// This thread's slots: plain data in the initial-exec model, so that
// reaching them costs neither an initialisation check nor a call.
[[gnu::tls_model("initial-exec")]] extern NUVPLATFORM_API constinit thread_local NUVObjectCounterSlots
    nuvObjectCounterSlots;
