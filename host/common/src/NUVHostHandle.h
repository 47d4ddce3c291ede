#pragma once
#include <memory>

#include "NUVBaseUnknown.h"
#include "NUVHostBackend.h"
#include "NUVIEdbDatabaseHandle.h"

// The handle of the backend's one database: makes host objects for the
// class types of its schema.
class NUVHostHandle : public NUVBaseUnknown, public NUVIEdbDatabaseHandle {
 public:
  explicit NUVHostHandle(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetDatabaseName(NUVUnicodeString& name) override;
  long IsReadOnly(unsigned char& readOnly) override;
  // An object of a table of the schema with the key, made without a
  // database round trip (one reference, the caller's). A key the hosts do
  // not accept is refused with a recorded error; an unknown class type
  // fails with null.
  long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                            IUnknown** object) override;

 private:
  std::shared_ptr<NUVHostBackend> backend_;
};
