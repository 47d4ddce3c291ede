#include "NUVHostObject.h"

#include <utility>

NUVHostObject::NUVHostObject(std::string classType, std::string key)
    : classType_(std::move(classType)), key_(std::move(key)) {}

long NUVHostObject::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbSysObject) {
    *out = static_cast<NUVIEdbSysObject*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVHostObject::GetObjectKey(NUVUnicodeString& key) const {
  key = key_.c_str();
  return NUV_S_OK;
}

long NUVHostObject::GetObjectName(NUVUnicodeString& name) const {
  name = (classType_ + " " + key_).c_str();
  return NUV_S_OK;
}

long NUVHostObject::GetObjectClassType(NUVUnicodeString& classType) const {
  classType = classType_.c_str();
  return NUV_S_OK;
}
