#include "NUVHostHandle.h"

#include "NUVHostKeyText.h"
#include "NUVHostObject.h"

long NUVHostHandle::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbDatabaseHandle) {
    *out = static_cast<NUVIEdbDatabaseHandle*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVHostHandle::GetDatabaseName(NUVUnicodeString& name) {
  name = backend_->DatabaseName().c_str();
  return NUV_S_OK;
}

long NUVHostHandle::IsReadOnly(unsigned char& readOnly) {
  readOnly = backend_->ReadOnly() ? 1 : 0;
  return NUV_S_OK;
}

long NUVHostHandle::CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                         IUnknown** object) {
  if (!object) return NUV_E_POINTER;
  *object = nullptr;
  if (!nuvhost::IsAcceptedKey(key.View()))
    return NUVHostRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
  if (backend_->Table(classType.CastToCharPtr()).empty()) return NUV_E_INVALIDARG;
  auto* created = new NUVHostObject(classType.CastToCharPtr(), key.CastToCharPtr());
  if (!created) return NUV_E_FAIL;
  *object = static_cast<NUVIEdbSysObject*>(created);
  return NUV_S_OK;
}
