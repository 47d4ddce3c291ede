#include "TestQuery.h"

#include "TestHost.h"
#include "TestHostObject.h"

long TestQuery::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbSysQuery2) {
    *out = static_cast<NUVIEdbSysQuery2*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long TestQuery::ExecuteQuery(const NUVUnicodeString&) { return NUV_E_FAIL; }

long TestQuery::GetQueryStatus(long& status) const {
  status = 0;
  return NUV_S_OK;
}

long TestQuery::GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                 NUVIEdbSysObject** object) const {
  *object = nullptr;
  const HostScript::Answer answer = host_.Enter(host_.query);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  auto found = host_.schema.find(classType.CastToCharPtr());
  if (found == host_.schema.end() || !found->second.keys.count(key.CastToCharPtr())) return NUV_E_INVALIDARG;
  auto* created = new TestHostObject(host_, found->first, key.CastToCharPtr());
  if (!created) return NUV_E_FAIL;
  *object = created;
  return NUV_S_OK;
}
