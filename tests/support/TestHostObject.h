#pragma once
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVIEdbSysObject.h"

class TestHost;

// A host object with a key and a class type. It holds a reference on its
// host, so the host outlives it, and answers through the host's script.
class TestHostObject : public NUVBaseUnknown, public NUVIEdbSysObject {
 public:
  TestHostObject(TestHost& host, std::string classType, std::string key);
  TestHostObject(const TestHostObject&) = delete;  // a copy would give the host back twice
  TestHostObject& operator=(const TestHostObject&) = delete;
  ~TestHostObject() override;

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetObjectKey(NUVUnicodeString& key) const override;
  long GetObjectName(NUVUnicodeString& name) const override;
  long GetObjectClassType(NUVUnicodeString& classType) const override;

  // The number of test host objects alive.
  static long Live();

 private:
  long Answer(NUVUnicodeString& out, const std::string& text) const;

  TestHost& host_;
  std::string classType_;
  std::string key_;
};
