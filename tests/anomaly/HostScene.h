#pragma once
#include <gtest/gtest.h>

#include "NUVBaseUnknown.h"
#include "NUVError.h"
#include "TestHost.h"
#include "TestHostObject.h"

// A fresh test host installed for one attempt. On leaving it checks that
// every object and reference taken during the attempt was given back.
class HostScene {
  long live_;  // first, so that it is read before the host exists

 public:
  HostScene() : live_(NUVBaseUnknown::LiveObjectCount()), host(new TestHost), flushes_(NUVFlushCount()) {
    host->Install();
  }
  ~HostScene() {
    TestHost::Uninstall();
    EXPECT_EQ(TestHostObject::Live(), 0) << where;
    EXPECT_EQ(ReferencesOf(host), 1UL) << where;
    host->Release();
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live_) << where;
  }
  HostScene(const HostScene&) = delete;
  HostScene& operator=(const HostScene&) = delete;

  // Stops raising, so that checking a result makes no raise of its own.
  void Quiet() { host->wide.raiseAt = 0; }
  // Flushes since the scene began.
  long Flushes() const { return NUVFlushCount() - flushes_; }

  TestHost* host;
  std::string where;  // names the attempt in failure messages

 private:
  long flushes_;
};
