#pragma once
#include <memory>

#include "NUVBaseUnknown.h"
#include "NUVHostBackend.h"
#include "NUVIEdbSysQuery2.h"

// The caller's query interface: runs statements and finds objects by key.
class NUVHostQuery : public NUVBaseUnknown, public NUVIEdbSysQuery2 {
 public:
  explicit NUVHostQuery(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  // Runs the statement, keeping none of its rows; its code is the status.
  long ExecuteQuery(const NUVUnicodeString& statement) override;
  long GetQueryStatus(long& status) const override;
  // The object (one reference, the caller's) only when its table has a
  // row with the key in its stored form; a key the hosts do not accept is
  // refused with a recorded error, an unknown class type or key fails
  // with null.
  long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                        NUVIEdbSysObject** object) const override;

 private:
  std::shared_ptr<NUVHostBackend> backend_;
  long status_ = NUV_S_OK;
};
