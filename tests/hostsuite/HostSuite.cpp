#include "HostSuite.h"

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"
#include "NUVInternalError.h"
#include "NUVRef.h"

void HostSuite::SetUp() {
  host = GetParam().make();
  host->Install();
}

void HostSuite::TearDown() { host->Uninstall(); }

std::string HostPluginName(const testing::TestParamInfo<HostPlugin>& info) { return info.param.name; }

namespace {

// An interface the session offers, with its reference, or null.
template <class Interface>
NUVRef<Interface> FromSession(const GUID& iid) {
  NUVRef<Interface> itf;
  if (NUVEdbGeneralTool().GetInterfaceFromSession(iid, itf.out_void()) < 0) return nullptr;
  return itf;
}

// The object's class type and key, as "PART P1", releasing it; empty for null.
std::string Identity(NUVRef<NUVIEdbSysObject> object) {
  if (!object) return "";
  NUVUnicodeString classType;
  NUVUnicodeString key;
  object->GetObjectClassType(classType);
  object->GetObjectKey(key);
  return std::string(classType.CastToCharPtr()) + " " + key.CastToCharPtr();
}

// The object the query gives for the key, with a reference; null when it fails.
NUVRef<NUVIEdbSysObject> Found(const NUVIEdbSysQuery2& query, const std::string& classType,
                               const std::string& key) {
  NUVRef<NUVIEdbSysObject> object;
  if (query.GetObjectFromKey(classType.c_str(), key.c_str(), object.out()) < 0) return nullptr;
  return object;
}

}  // namespace

TEST_P(HostSuite, HandleAndKeyAttributeOfTheCurrentDatabase) {
  NUVRef<NUVIEdbDatabaseHandle> handle;
  ASSERT_GE(NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void()), 0);
  ASSERT_NE(handle.get(), nullptr);
  NUVUnicodeString name;
  EXPECT_GE(handle->GetDatabaseName(name), 0);
  EXPECT_EQ(std::string(name.CastToCharPtr()), host->DatabaseName());
  auto context = FromSession<NUVIEdbDatabaseContext>(IID_NUVIEdbDatabaseContext);
  ASSERT_NE(context.get(), nullptr);
  NUVRef<NUVIEdbDatabaseHandle> other;
  const long code =
      context->GetDatabaseHandle("no such database", IID_NUVIEdbDatabaseHandle, other.out_void());
  EXPECT_TRUE(code < 0 || !other);
  // The metadata tool answers the key attribute of known class types alone.
  auto tool = NUVAdopt(NUVEdbGeneralTool().GetMetadataTool());
  ASSERT_NE(tool.get(), nullptr);
  EXPECT_EQ(std::string(tool->GetPrimaryKey(host->ClassType().c_str()).CastToCharPtr()),
            host->KeyAttribute());
  EXPECT_EQ(std::string(tool->GetPrimaryKey("NO_SUCH_CLASS").CastToCharPtr()), "");
}

// Objects made from keys, by the broker's list and by the query, carry
// their key (and class type); a key no object has, or a class the schema
// lacks, gives none.
TEST_P(HostSuite, ObjectsCarryTheirKeyAndClassType) {
  ASSERT_NE(host->Query(), nullptr);
  const NUVIEdbSysQuery2& query = *host->Query();
  const std::vector<std::string> keys = host->Keys();
  std::string joined;
  for (const std::string& key : keys) joined += (joined.empty() ? "" : "+") + key;
  NUVEdbBrokerTool broker;
  NUVRef<NUVIUnknownList> list;
  ASSERT_GE(broker.CreateVolatileObjectList(host->ClassType().c_str(), host->KeyAttribute().c_str(),
                                            joined.c_str(), *list.out()),
            0);
  EXPECT_EQ(KeysOf(list.get()), joined);
  for (const std::string& key : keys)
    EXPECT_EQ(Identity(Found(query, host->ClassType(), key)), host->ClassType() + " " + key);
  EXPECT_EQ(Identity(Found(query, host->ClassType(), host->MissingKey())), "");
  EXPECT_EQ(Identity(Found(query, "NO_SUCH_CLASS", keys[0])), "");
  NUVRef<NUVIUnknownList> none;
  EXPECT_LT(broker.CreateVolatileObjectList("NO_SUCH_CLASS", "ID", keys[0].c_str(), *none.out()), 0);
  EXPECT_EQ(none.get(), nullptr);
}

TEST_P(HostSuite, ReporterReceivesWhatCheckErrorReports) {
  auto reporter = FromSession<NUVIEdbErrorReporter>(IID_NUVIEdbErrorReporter);
  ASSERT_NE(reporter.get(), nullptr);
  reporter->ClearReports();
  const long code = NUVError::GetReturn(0, NUVAdopt(new NUVInternalError(9, "HostSuite", "Check")).get(),
                                        nullptr, __FILE__, __LINE__);
  NUVEdbGeneralTool().CheckError(code, "first", "second");
  unsigned int count = 0;
  EXPECT_GE(reporter->GetReportCount(&count), 0);
  EXPECT_EQ(count, 1U);
  reporter->ClearReports();
}
