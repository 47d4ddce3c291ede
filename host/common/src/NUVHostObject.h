#pragma once
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVIEdbSysObject.h"

// A host object: a class type (table) and a key (primary-key value as
// text). It needs no connection, so it may outlive the host.
class NUVHostObject : public NUVBaseUnknown, public NUVIEdbSysObject {
 public:
  NUVHostObject(std::string classType, std::string key);

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetObjectKey(NUVUnicodeString& key) const override;
  // The class type and key, as "PART P1".
  long GetObjectName(NUVUnicodeString& name) const override;
  long GetObjectClassType(NUVUnicodeString& classType) const override;

 private:
  std::string classType_;
  std::string key_;
};
