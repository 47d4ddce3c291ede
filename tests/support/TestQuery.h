#pragma once
#include "NUVBaseUnknown.h"
#include "NUVIEdbSysQuery2.h"

class TestHost;

// The test host's query interface: knows the objects of its schema.
class TestQuery : public NUVBaseUnknown, public NUVIEdbSysQuery2 {
 public:
  explicit TestQuery(TestHost& host) : host_(host) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long ExecuteQuery(const NUVUnicodeString& statement) override;
  long GetQueryStatus(long& status) const override;
  // The object only when the schema knows its class type and key.
  long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                        NUVIEdbSysObject** object) const override;

 private:
  TestHost& host_;  // owns the query
};
