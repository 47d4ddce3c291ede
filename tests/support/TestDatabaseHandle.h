#pragma once
#include "NUVBaseUnknown.h"
#include "NUVIEdbDatabaseHandle.h"

class TestHost;

// The handle of the test host's one database: makes host objects for the
// class types of its schema.
class TestDatabaseHandle : public NUVBaseUnknown, public NUVIEdbDatabaseHandle {
 public:
  explicit TestDatabaseHandle(TestHost& host) : host_(host) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetDatabaseName(NUVUnicodeString& name) override;
  long IsReadOnly(unsigned char& readOnly) override;
  // An object of a known class type with any key; an unknown class type,
  // or an allocation that answers null, fails with *object null.
  long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                            IUnknown** object) override;

 private:
  TestHost& host_;  // owns the handle
};
