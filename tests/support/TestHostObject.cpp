#include "TestHostObject.h"

#include "TestHost.h"

namespace {
long liveObjects = 0;
}

TestHostObject::TestHostObject(TestHost& host, std::string classType, std::string key)
    : host_(host), classType_(std::move(classType)), key_(std::move(key)) {
  host_.AddRef();
  ++liveObjects;
}

TestHostObject::~TestHostObject() {
  --liveObjects;
  host_.Release();
}

long TestHostObject::Live() { return liveObjects; }

long TestHostObject::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbSysObject) {
    *out = static_cast<NUVIEdbSysObject*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long TestHostObject::Answer(NUVUnicodeString& out, const std::string& text) const {
  if (host_.Enter(host_.objects) == HostScript::Answer::Fail) return NUV_E_FAIL;
  out = NUVUnicodeString(std::string_view(text));
  return NUV_S_OK;
}

long TestHostObject::GetObjectKey(NUVUnicodeString& key) const { return Answer(key, key_); }
long TestHostObject::GetObjectName(NUVUnicodeString& name) const { return Answer(name, classType_ + ":" + key_); }
long TestHostObject::GetObjectClassType(NUVUnicodeString& classType) const { return Answer(classType, classType_); }
