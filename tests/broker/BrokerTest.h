#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVError.h"
#include "NUVIEdbSysObject.h"
#include "NUVRef.h"
#include "NUVXHContext.h"
#include "TestHost.h"
#include "TestHostObject.h"
#include "TestLists.h"

// Every broker test runs against a fresh test host installed as the
// session, and checks that no host object outlives it.
class BrokerTest : public testing::Test {
 protected:
  void SetUp() override {
    host = NUVAdopt(new TestHost);
    host->Install();
    flushes = NUVFlushCount();
  }
  void TearDown() override {
    objects.clear();
    TestHost::Uninstall();
    EXPECT_EQ(TestHostObject::Live(), 0);
    EXPECT_EQ(ReferencesOf(host->databaseHandle.get()), 1UL);
    EXPECT_EQ(ReferencesOf(host->metadataTool.get()), 1UL);
    EXPECT_EQ(ReferencesOf(host.get()), 1UL);
    host.Reset();
  }
  // A host object; the fixture holds its reference until the test ends.
  NUVIEdbSysObject* Object(const char* classType, const char* key) {
    return objects.emplace_back(NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(*host, classType, key)))
        .get();
  }
  NUVEdbSQLData* ObjectParameter(const char* name, const char* key) {
    return new NUVEdbSQLData(name, Object("PART", key));
  }
  // Makes the script's n-th call raise an error of the platform's kind, or
  // of another kind.
  void RaiseAt(HostScript& script, int n, bool foreign) {
    script.Reset();
    script.raiseAt = n;
    host->wide.raiseForeign = foreign;
  }
  long FlushesSinceSetUp() const { return NUVFlushCount() - flushes; }

  NUVRef<TestHost> host;
  NUVEdbBrokerTool broker;
  long flushes = 0;
  std::vector<NUVRef<NUVIEdbSysObject>> objects;
};
