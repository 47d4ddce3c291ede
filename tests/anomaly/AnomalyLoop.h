#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVError.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"

// Makes the n-th base-object allocation from now answer null; Stop (or the
// end of the object) withdraws the fault.
class AllocationFault {
 public:
  explicit AllocationFault(long n) : n_(n), before_(NUVBaseUnknown::AllocationCount()) {
    NUVBaseUnknown::FailAllocationAt(n);
  }
  ~AllocationFault() { NUVBaseUnknown::FailAllocationAt(0); }
  AllocationFault(const AllocationFault&) = delete;
  AllocationFault& operator=(const AllocationFault&) = delete;
  // Withdraws the fault; answers whether it struck.
  bool Stop() const {
    NUVBaseUnknown::FailAllocationAt(0);
    return NUVBaseUnknown::AllocationCount() - before_ >= n_;
  }

 private:
  long n_;
  long before_;
};

// A fresh test host installed for one attempt. On leaving it checks that
// every object and reference taken during the attempt was given back.
class HostScene {
  long live_;  // first, so that it is read before the host exists

 public:
  HostScene()
      : live_(NUVBaseUnknown::LiveObjectCount()), host(NUVAdopt(new TestHost)), flushes_(NUVFlushCount()) {
    host->Install();
  }
  ~HostScene() {
    TestHost::Uninstall();
    EXPECT_EQ(TestHostObject::Live(), 0) << where;
    EXPECT_EQ(ReferencesOf(host.get()), 1UL) << where;
    host.Reset();
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live_) << where;
  }
  HostScene(const HostScene&) = delete;
  HostScene& operator=(const HostScene&) = delete;

  // Stops raising, so that checking a result makes no raise of its own.
  void Quiet() { host->wide.raiseAt = 0; }
  bool Raised() const { return host->wide.raises > 0; }
  // Flushes since the scene began.
  long Flushes() const { return NUVFlushCount() - flushes_; }

  NUVRef<TestHost> host;
  std::string where;  // names the attempt in failure messages

 private:
  long flushes_;
};

// Runs attempt(n) for n = 1, 2, ..., one failure point each, until the
// failure no longer strikes; answers the number of points.
inline long RunAnomalyLoop(const char* operation, const std::function<bool(long n)>& attempt) {
  constexpr long kMaxPoints = 10000;
  long n = 1;
  while (n <= kMaxPoints && attempt(n) && !testing::Test::HasFatalFailure()) ++n;
  EXPECT_LE(n, kMaxPoints) << operation << " never completed";
  return n - 1;
}

// A test name made of the letters and digits of the operation's name.
template <class Operation>
std::string Title(const testing::TestParamInfo<Operation>& info) {
  std::string title = info.param.name;
  title.erase(std::remove_if(title.begin(), title.end(), [](unsigned char c) { return !std::isalnum(c); }),
              title.end());
  return title;
}
