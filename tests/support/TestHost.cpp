#include "TestHost.h"

#include "NUVInternalError.h"
#include "TestHostObject.h"
#include "TestInterfaceObject.h"

namespace {

// The test host's metadata tool: the key attribute of a known class type;
// empty for others and when the script makes the call fail.
class TestMetadataTool : public NUVEdsMetadataTool {
 public:
  explicit TestMetadataTool(TestHost& host) : host_(host) {}
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) override {
    if (host_.Enter(host_.metadata) != HostScript::Answer::Normal) return {};
    auto found = host_.schema.find(classType.CastToCharPtr());
    if (found == host_.schema.end()) return {};
    return found->second.keyAttribute.c_str();
  }

 private:
  TestHost& host_;  // owns the tool
};

// The handle of the test host's one database: makes host objects for the
// class types of its schema, with any key.
class TestDatabaseHandle : public TestInterfaceObject<NUVIEdbDatabaseHandle, IID_NUVIEdbDatabaseHandle> {
 public:
  explicit TestDatabaseHandle(TestHost& host) : host_(host) {}

  long GetDatabaseName(NUVUnicodeString& name) override {
    name = host_.currentDatabase.c_str();
    return NUV_S_OK;
  }
  long IsReadOnly(unsigned char& readOnly) override {
    readOnly = 0;
    return NUV_S_OK;
  }
  // An unknown class type, or an allocation that answers null, fails with
  // *object null.
  long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                            IUnknown** object) override {
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

 private:
  TestHost& host_;  // owns the handle
};

// The test host's query interface: gives an object only when the schema
// knows its class type and key.
class TestQuery : public TestInterfaceObject<NUVIEdbSysQuery2, IID_NUVIEdbSysQuery2> {
 public:
  explicit TestQuery(TestHost& host) : host_(host) {}

  long ExecuteQuery(const NUVUnicodeString&) override { return NUV_E_FAIL; }
  long GetQueryStatus(long& status) const override {
    status = 0;
    return NUV_S_OK;
  }
  long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                        NUVIEdbSysObject** object) const override {
    *object = nullptr;
    const HostScript::Answer answer = host_.Enter(host_.query);
    if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
    if (answer == HostScript::Answer::Null) return NUV_S_OK;
    auto found = host_.schema.find(classType.CastToCharPtr());
    if (found == host_.schema.end() || !found->second.keys.count(key.CastToCharPtr()))
      return NUV_E_INVALIDARG;
    auto* created = new TestHostObject(host_, found->first, key.CastToCharPtr());
    if (!created) return NUV_E_FAIL;
    *object = created;
    return NUV_S_OK;
  }

 private:
  TestHost& host_;  // owns the query
};

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

long TestHost::GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) {
  *out = nullptr;
  const HostScript::Answer answer = Enter(context);
  if (answer == HostScript::Answer::Fail) return NUV_E_FAIL;
  if (answer == HostScript::Answer::Null) return NUV_S_OK;
  if (!(database == currentDatabase.c_str())) return NUV_E_INVALIDARG;
  return databaseHandle->QueryInterface(iid, out);
}

long TestHost::ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) {
  if (Enter(reporter) == HostScript::Answer::Fail) return NUV_E_FAIL;
  reports.push_back({error ? error->GetId() : 0U, first.CastToCharPtr(), second.CastToCharPtr()});
  return NUV_S_OK;
}
