#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVRef.h"
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
  NUVRef<TestHost> host;
  NUVEdbBrokerTool broker;
  std::vector<NUVRef<NUVIEdbSysObject>> objects;
};
