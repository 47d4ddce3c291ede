#pragma once
#include <functional>
#include <set>

#include "NUVBaseUnknown.h"

// Makes the n-th base-object allocation from now answer null, and tells
// whether it did; the fault is withdrawn when the object goes.
class AllocationFault {
 public:
  explicit AllocationFault(long n) : n_(n), before_(NUVBaseUnknown::AllocationCount()) {
    NUVBaseUnknown::FailAllocationAt(n);
  }
  ~AllocationFault() { Stop(); }
  AllocationFault(const AllocationFault&) = delete;
  AllocationFault& operator=(const AllocationFault&) = delete;
  // Withdraws the fault; answers whether it struck.
  bool Stop() {
    if (!stopped_) {
      struck_ = NUVBaseUnknown::AllocationCount() - before_ >= n_;
      NUVBaseUnknown::FailAllocationAt(0);
      stopped_ = true;
    }
    return struck_;
  }

 private:
  long n_;
  long before_;
  bool stopped_ = false;
  bool struck_ = false;
};

// One run of an operation with a fault at point n; answers whether the
// fault struck.
using Attempt = std::function<bool(long n)>;

// Runs attempt(1), attempt(2), ... until a run in which the fault did not
// strike, prints the number of failure points for the operation, and
// answers it. Counts every case for the run's summary.
long RunAnomalyLoop(const char* operation, const Attempt& attempt);

// The (operation, failure point) cases run so far in this process.
long AnomalyCases();

// Runs a clean-up when the scope ends, also when an error unwinds it.
template <class CleanUp>
class ScopeExit {
 public:
  explicit ScopeExit(CleanUp cleanUp) : cleanUp_(cleanUp) {}
  ~ScopeExit() { cleanUp_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  CleanUp cleanUp_;
};

// Releases the object the pointer holds, if any, when the scope ends.
#define NUV_RELEASE_AT_EXIT(pointer) \
  ScopeExit pointer##Release([&] {   \
    if (pointer) pointer->Release(); \
  })
