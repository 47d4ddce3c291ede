#pragma once
#include <memory>

#include "NUVBaseUnknown.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVSqliteDatabase.h"

// The handle of the host's one database, "main": makes host objects for
// the class types of its schema.
class NUVSqliteDatabaseHandle : public NUVBaseUnknown, public NUVIEdbDatabaseHandle {
 public:
  explicit NUVSqliteDatabaseHandle(std::shared_ptr<NUVSqliteDatabase> database)
      : database_(std::move(database)) {}

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetDatabaseName(NUVUnicodeString& name) override;
  long IsReadOnly(unsigned char& readOnly) override;
  // An object of a table of the schema with the key, made without a
  // database round trip; an unknown class type fails with null, and a key
  // that hosts do not accept (NUVHostKeyText.h) fails with null and a
  // recorded error naming it.
  long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                            IUnknown** object) override;

 private:
  std::shared_ptr<NUVSqliteDatabase> database_;
};
