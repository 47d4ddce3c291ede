#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVError.h"
#include "NUVIEdbSysObject.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVListValNUVUnicodeString.h"
#include "TestHost.h"
#include "TestHostObject.h"
#include "TestLists.h"

// Every broker test runs against a fresh test host installed as the
// session, and checks that no host object outlives it.
class BrokerTest : public testing::Test {
 protected:
  void SetUp() override {
    host = new TestHost;
    host->Install();
    flushes = NUVFlushCount();
  }
  void TearDown() override {
    TestHost::Uninstall();
    EXPECT_EQ(TestHostObject::Live(), 0);
    EXPECT_EQ(ReferencesOf(host), 1UL);
    host->Release();
  }
  // A host object with one reference for the caller.
  NUVIEdbSysObject* Object(const char* classType, const char* key) {
    return new TestHostObject(*host, classType, key);
  }

 public:
  // An object parameter holding the host object of the key.
  NUVEdbSQLData* ObjectParameter(const char* name, const char* key);
  // An object-list parameter holding host objects of the keys.
  NUVEdbSQLData* ObjectListParameter(std::initializer_list<const char*> names,
                                     std::initializer_list<const char*> keys, const char* condition);

 protected:
  long FlushesSinceSetUp() const { return NUVFlushCount() - flushes; }

  TestHost* host = nullptr;
  NUVEdbBrokerTool broker;
  long flushes = 0;
};
