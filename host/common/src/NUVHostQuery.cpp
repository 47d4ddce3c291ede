#include "NUVHostQuery.h"

#include <string>

#include "NUVEdbResultTable.h"
#include "NUVHostKeyText.h"
#include "NUVHostObject.h"
#include "NUVHostRunner.h"

long NUVHostQuery::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbSysQuery2) {
    *out = static_cast<NUVIEdbSysQuery2*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVHostQuery::ExecuteQuery(const NUVUnicodeString& statement) {
  NUVEdbResultTable rows;
  status_ = NUVHostRunner(*backend_).Run(statement, rows, nullptr);
  return status_;
}

long NUVHostQuery::GetQueryStatus(long& status) const {
  status = status_;
  return NUV_S_OK;
}

long NUVHostQuery::GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                    NUVIEdbSysObject** object) const {
  if (!object) return NUV_E_POINTER;
  *object = nullptr;
  if (!nuvhost::IsAcceptedKey(key.View()))
    return NUVHostRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
  const std::string table = backend_->Table(classType.CastToCharPtr());
  const std::string column = backend_->KeyColumn(table);
  if (column.empty()) return NUV_E_INVALIDARG;
  bool exists = false;
  const long code = backend_->FindKey(table, column, key.CastToCharPtr(), exists);
  if (code < 0) return code;
  if (!exists) return NUV_E_INVALIDARG;
  auto* found = new NUVHostObject(classType.CastToCharPtr(), key.CastToCharPtr());
  if (!found) return NUV_E_FAIL;
  *object = found;
  return NUV_S_OK;
}
