#include "NUVSqliteDatabaseHandle.h"

#include <sqlite3.h>

#include "NUVHostKeyText.h"
#include "NUVSqliteObject.h"
#include "NUVSqliteQueryRunner.h"

long NUVSqliteDatabaseHandle::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbDatabaseHandle) {
    *out = static_cast<NUVIEdbDatabaseHandle*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVSqliteDatabaseHandle::GetDatabaseName(NUVUnicodeString& name) {
  name = "main";
  return NUV_S_OK;
}

long NUVSqliteDatabaseHandle::IsReadOnly(unsigned char& readOnly) {
  readOnly = sqlite3_db_readonly(database_->Connection(), "main") == 1 ? 1 : 0;
  return NUV_S_OK;
}

long NUVSqliteDatabaseHandle::CreateVolatileObject(const NUVUnicodeString& classType,
                                                   const NUVUnicodeString& key, IUnknown** object) {
  if (!object) return NUV_E_POINTER;
  *object = nullptr;
  if (!nuvhost::IsAcceptedKey(key.View()))
    return NUVSqliteRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
  if (!database_->HasTable(classType.CastToCharPtr())) return NUV_E_INVALIDARG;
  auto* created = new NUVSqliteObject(classType.CastToCharPtr(), key.CastToCharPtr());
  if (!created) return NUV_E_FAIL;
  *object = static_cast<NUVIEdbSysObject*>(created);
  return NUV_S_OK;
}
