#include "TestDatabaseHandle.h"

#include "TestHost.h"
#include "TestHostObject.h"

long TestDatabaseHandle::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbDatabaseHandle) {
    *out = static_cast<NUVIEdbDatabaseHandle*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long TestDatabaseHandle::GetDatabaseName(NUVUnicodeString& name) {
  name = host_.currentDatabase.c_str();
  return NUV_S_OK;
}

long TestDatabaseHandle::IsReadOnly(unsigned char& readOnly) {
  readOnly = 0;
  return NUV_S_OK;
}

long TestDatabaseHandle::CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                              IUnknown** object) {
  *object = nullptr;
  host_.askedKeys.emplace_back(key.View());
  const HostScript::Answer answer = host_.Enter(host_.handle);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  if (!host_.schema.count(classType.CastToCharPtr())) return NUV_E_INVALIDARG;
  auto* created = new TestHostObject(host_, std::string(classType.View()), std::string(key.View()));
  if (!created) return NUV_E_FAIL;
  *object = static_cast<NUVIEdbSysObject*>(created);
  return host_.createCode;
}
