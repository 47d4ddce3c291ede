#pragma once
#include <memory>

#include "NUVBaseUnknown.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVSqliteDatabase.h"

// The caller's query interface: runs statements and finds objects by key.
class NUVSqliteQuery : public NUVBaseUnknown, public NUVIEdbSysQuery2 {
 public:
  explicit NUVSqliteQuery(std::shared_ptr<NUVSqliteDatabase> database) : database_(std::move(database)) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  // Runs the statement, keeping none of its rows; its code is the status.
  long ExecuteQuery(const NUVUnicodeString& statement) override;
  long GetQueryStatus(long& status) const override;
  // The object only when its table has a row with the key, which is looked
  // up in its stored (blank-encoded) form with a bound parameter; a key that
  // hosts do not accept fails with a recorded error naming it.
  long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                        NUVIEdbSysObject** object) const override;

 private:
  std::shared_ptr<NUVSqliteDatabase> database_;
  long status_ = NUV_S_OK;
};
