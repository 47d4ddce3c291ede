#pragma once
#include "TestHost.h"

// The one test host of a fuzz run, installed as the session on first use
// and kept for the whole run.
inline TestHost& FuzzTestHost() {
  static TestHost* host = [] {
    auto* created = new TestHost;
    created->Install();
    return created;
  }();
  return *host;
}
