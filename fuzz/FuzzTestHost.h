#pragma once
#include <memory>

#include "FuzzCheck.h"
#include "NUVSqliteHost.h"
#include "TestHost.h"
#include "TestHostObject.h"

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

// The SQLite host on its sample database, likewise installed once.
inline NUVSqliteHost& FuzzSqliteHost() {
  static std::unique_ptr<NUVSqliteHost> host = [] {
    std::string message;
    auto opened = NUVSqliteHost::OpenSample(message);
    opened->Install();
    return opened;
  }();
  return *host;
}

// Every host object and every base object made since `live` was read has
// been given back.
inline void FuzzCheckAllGivenBack(long live) {
  FUZZ_CHECK(TestHostObject::Live() == 0);
  FUZZ_CHECK(NUVBaseUnknown::LiveObjectCount() == live);
}
