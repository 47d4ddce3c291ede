#include "TestHost.h"

#include "NUVInternalError.h"
#include "TestDatabaseHandle.h"
#include "TestMetadataTool.h"
#include "TestQuery.h"

namespace {

template <class Interface>
long Offer(bool offered, HostScript::Answer answer, Interface* itf, void** out) {
  *out = nullptr;
  if (!offered || answer == HostScript::Answer::Fail) return NUV_E_NOINTERFACE;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  *out = itf;
  itf->AddRef();
  return NUV_S_OK;
}

}  // namespace

TestHost::TestHost()
    : schema{{"PART", {"ID", {"K1", "K2", "K3"}}}, {"DOC", {"DOCNO", {"D1"}}}},
      metadataTool(NUVAdopt<NUVEdsMetadataTool>(new TestMetadataTool(*this))),
      databaseHandle(NUVAdopt<NUVIEdbDatabaseHandle>(new TestDatabaseHandle(*this))),
      queryInterface(NUVAdopt<NUVIEdbSysQuery2>(new TestQuery(*this))) {}

TestHost::~TestHost() {
  metadataTool.Reset();
  databaseHandle.Reset();
  queryInterface.Reset();
}

void TestHost::Install() { NUVSetPtrSession(this); }
void TestHost::Uninstall() { NUVSetPtrSession(nullptr); }

HostScript::Answer TestHost::Enter(HostScript& script) {
  ++script.calls;
  ++wide.calls;
  if (wide.raiseAt == wide.calls || script.Hits(script.raiseAt)) {
    ++wide.raises;
    if (wide.raiseForeign) NUVRaise(new NUVException, __FILE__, __LINE__);
    NUVRaise(new NUVInternalError(40, "HostRaised", "TestHost"), __FILE__, __LINE__);
  }
  if (script.Hits(script.failAt)) return HostScript::Answer::Fail;
  if (script.Hits(script.nullAt)) return HostScript::Answer::Null;
  return HostScript::Answer::Normal;
}

long TestHost::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_NUVIEdbMetadataToolProvider) {
    return Offer(offerProvider, Enter(session), static_cast<NUVIEdbMetadataToolProvider*>(this), out);
  }
  if (iid == IID_NUVIEdbDatabaseContext) {
    return Offer(offerContext, Enter(session), static_cast<NUVIEdbDatabaseContext*>(this), out);
  }
  if (iid == IID_NUVIEdbErrorReporter) {
    return Offer(offerReporter, Enter(session), static_cast<NUVIEdbErrorReporter*>(this), out);
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long TestHost::ProvideMetadataTool(NUVEdsMetadataTool** tool) {
  *tool = nullptr;
  const HostScript::Answer answer = Enter(provider);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  *tool = metadataTool.get();
  metadataTool->AddRef();
  return NUV_S_OK;
}

long TestHost::GetCurrentDatabase(NUVUnicodeString& database) {
  const HostScript::Answer answer = Enter(context);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  database = currentDatabase.c_str();
  return NUV_S_OK;
}

long TestHost::SetCurrentDatabase(const NUVUnicodeString& database) {
  currentDatabase = database.CastToCharPtr();
  return NUV_S_OK;
}

long TestHost::GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) {
  *out = nullptr;
  const HostScript::Answer answer = Enter(context);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  if (!(database == currentDatabase.c_str())) return NUV_E_INVALIDARG;
  return databaseHandle->QueryInterface(iid, out);
}

long TestHost::ClearReports() {
  reports.clear();
  return NUV_S_OK;
}

long TestHost::GetReportCount(unsigned int* count) {
  *count = static_cast<unsigned int>(reports.size());
  return NUV_S_OK;
}

long TestHost::ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) {
  if (Enter(reporter) == HostScript::Answer::Fail) return NUV_E_FAIL;
  reports.push_back({error ? error->GetId() : 0U, first.CastToCharPtr(), second.CastToCharPtr()});
  return NUV_S_OK;
}
