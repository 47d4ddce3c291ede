#include "TestHost.h"

#include "NUVInternalError.h"

namespace {

class TestMetadataTool : public NUVEdsMetadataTool {
 public:
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString&) override { return "ID"; }
};

class TestDatabaseHandle : public NUVBaseUnknown, public NUVIEdbDatabaseHandle {
 public:
  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == IID_NUVIEdbDatabaseHandle) {
      *out = static_cast<NUVIEdbDatabaseHandle*>(this);
      AddRef();
      return NUV_S_OK;
    }
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  long GetDatabaseName(NUVUnicodeString& name) override {
    name = "main";
    return NUV_S_OK;
  }
  long IsReadOnly(unsigned char& readOnly) override {
    readOnly = 0;
    return NUV_S_OK;
  }
  long CreateVolatileObject(const NUVUnicodeString&, const NUVUnicodeString&, IUnknown** object) override {
    *object = nullptr;
    return NUV_E_FAIL;
  }
};

template <class Interface>
long Offer(bool offered, Interface* itf, void** out) {
  if (!offered) {
    *out = nullptr;
    return NUV_E_NOINTERFACE;
  }
  *out = itf;
  itf->AddRef();
  return NUV_S_OK;
}

}  // namespace

TestHost::TestHost() : metadataTool(new TestMetadataTool), databaseHandle(new TestDatabaseHandle) {}

TestHost::~TestHost() {
  metadataTool->Release();
  databaseHandle->Release();
}

void TestHost::Install() { NUVSetPtrSession(this); }
void TestHost::Uninstall() { NUVSetPtrSession(nullptr); }

long TestHost::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_NUVIEdbMetadataToolProvider) {
    return Offer(offerProvider, static_cast<NUVIEdbMetadataToolProvider*>(this), out);
  }
  if (iid == IID_NUVIEdbDatabaseContext) return Offer(offerContext, static_cast<NUVIEdbDatabaseContext*>(this), out);
  if (iid == IID_NUVIEdbErrorReporter) return Offer(offerReporter, static_cast<NUVIEdbErrorReporter*>(this), out);
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long TestHost::ProvideMetadataTool(NUVEdsMetadataTool** tool) {
  if (raiseInProvider) NUVRaise(new NUVInternalError(40, "ProviderFailed", "TestHost"), __FILE__, __LINE__);
  *tool = metadataTool;
  metadataTool->AddRef();
  return NUV_S_OK;
}

long TestHost::GetCurrentDatabase(NUVUnicodeString& database) {
  database = currentDatabase.c_str();
  return NUV_S_OK;
}

long TestHost::SetCurrentDatabase(const NUVUnicodeString& database) {
  currentDatabase = database.CastToCharPtr();
  return NUV_S_OK;
}

long TestHost::GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) {
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
  reports.push_back({error ? error->GetId() : 0U, first.CastToCharPtr(), second.CastToCharPtr()});
  return NUV_S_OK;
}
