#include "HostSuite.h"

#include <utility>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"
#include "NUVInternalError.h"

void HostSuite::SetUp() {
  host = GetParam().make();
  host->Install();
}

void HostSuite::TearDown() { host->Uninstall(); }

std::string HostPluginName(const testing::TestParamInfo<HostPlugin>& info) { return info.param.name; }

namespace {

// An interface the session offers, with its reference, or null.
template <class Interface>
Interface* FromSession(const GUID& iid) {
  Interface* itf = nullptr;
  if (NUVEdbGeneralTool().GetInterfaceFromSession(iid, reinterpret_cast<void**>(&itf)) < 0) return nullptr;
  return itf;
}

// The object's class type and key, as "PART P1", releasing it; empty for null.
std::string Identity(NUVIEdbSysObject* object) {
  if (!object) return "";
  NUVUnicodeString classType;
  NUVUnicodeString key;
  object->GetObjectClassType(classType);
  object->GetObjectKey(key);
  object->Release();
  return std::string(classType.CastToCharPtr()) + " " + key.CastToCharPtr();
}

// The object the query gives for the key, with a reference; null when it fails.
NUVIEdbSysObject* Found(const NUVIEdbSysQuery2& query, const std::string& classType, const std::string& key) {
  NUVIEdbSysObject* object = nullptr;
  if (query.GetObjectFromKey(classType.c_str(), key.c_str(), &object) < 0 && object)
    std::exchange(object, nullptr)->Release();
  return object;
}

// The object at a position of an interface list, with a reference.
NUVIEdbSysObject* ObjectAt(NUVIUnknownList& list, unsigned int position) {
  IUnknown* item = nullptr;
  if (list.Item(position, &item) < 0 || !item) return nullptr;
  NUVIEdbSysObject* object = nullptr;
  item->QueryInterface(IID_NUVIEdbSysObject, reinterpret_cast<void**>(&object));
  item->Release();
  return object;
}

}  // namespace

TEST_P(HostSuite, HandleIsGivenOnlyForTheCurrentDatabase) {
  NUVIEdbDatabaseHandle* handle = nullptr;
  ASSERT_GE(NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle,
                                                         reinterpret_cast<void**>(&handle)),
            0);
  ASSERT_NE(handle, nullptr);
  NUVUnicodeString name;
  EXPECT_GE(handle->GetDatabaseName(name), 0);
  EXPECT_EQ(std::string(name.CastToCharPtr()), host->DatabaseName());
  handle->Release();
  auto* context = FromSession<NUVIEdbDatabaseContext>(IID_NUVIEdbDatabaseContext);
  ASSERT_NE(context, nullptr);
  void* other = nullptr;
  const long code = context->GetDatabaseHandle("no such database", IID_NUVIEdbDatabaseHandle, &other);
  EXPECT_TRUE(code < 0 || !other);
  if (other) static_cast<NUVIEdbDatabaseHandle*>(other)->Release();
  context->Release();
}

TEST_P(HostSuite, MetadataToolAnswersTheKeyAttribute) {
  NUVEdsMetadataTool* tool = NUVEdbGeneralTool().GetMetadataTool();
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(std::string(tool->GetPrimaryKey(host->ClassType().c_str()).CastToCharPtr()),
            host->KeyAttribute());
  EXPECT_EQ(std::string(tool->GetPrimaryKey("NO_SUCH_CLASS").CastToCharPtr()), "");
  tool->Release();
}

TEST_P(HostSuite, VolatileObjectsCarryTheirKeyAndClassType) {
  const std::vector<std::string> keys = host->Keys();
  std::string joined;
  for (const std::string& key : keys) joined += (joined.empty() ? "" : "+") + key;
  NUVEdbBrokerTool broker;
  NUVIUnknownList* list = nullptr;
  ASSERT_GE(broker.CreateVolatileObjectList(host->ClassType().c_str(), host->KeyAttribute().c_str(),
                                            joined.c_str(), list),
            0);
  ASSERT_NE(list, nullptr);
  unsigned int count = 0;
  list->Count(&count);
  ASSERT_EQ(count, keys.size());
  for (unsigned int i = 0; i < count; ++i)
    EXPECT_EQ(Identity(ObjectAt(*list, i)), host->ClassType() + " " + keys[i]);
  list->Release();
  NUVIUnknownList* none = nullptr;
  EXPECT_LT(broker.CreateVolatileObjectList("NO_SUCH_CLASS", "ID", keys[0].c_str(), none), 0);
  EXPECT_EQ(none, nullptr);
}

// The query answers only objects that exist, and the last of them is found
// in a result table by its key.
TEST_P(HostSuite, QueryAnswersOnlyObjectsThatExist) {
  ASSERT_NE(host->Query(), nullptr);
  const NUVIEdbSysQuery2& query = *host->Query();
  const std::vector<std::string> keys = host->Keys();
  NUVEdbResultTable table;
  for (const std::string& key : keys) {
    EXPECT_EQ(Identity(Found(query, host->ClassType(), key)), host->ClassType() + " " + key);
    NUVListPtrNUVBaseUnknown row;
    row.Append(
        new NUVEdbResultTabData(host->ClassType().c_str(), host->KeyAttribute().c_str(), key.c_str(), 0));
    NUVEdbResultTableBuilder::AppendRowTakingCells(table, row);
  }
  EXPECT_EQ(Identity(Found(query, host->ClassType(), host->MissingKey())), "");
  EXPECT_EQ(Identity(Found(query, "NO_SUCH_CLASS", keys[0])), "");
  NUVIEdbSysObject* last = Found(query, host->ClassType(), keys.back());
  ASSERT_NE(last, nullptr);
  const int size = static_cast<int>(keys.size());
  EXPECT_EQ(NUVEdbBrokerTool().FindRowNumber(last, table, size), size);
  last->Release();
}

TEST_P(HostSuite, ReporterReceivesWhatCheckErrorReports) {
  auto* reporter = FromSession<NUVIEdbErrorReporter>(IID_NUVIEdbErrorReporter);
  ASSERT_NE(reporter, nullptr);
  reporter->ClearReports();
  auto* error = new NUVInternalError(9, "HostSuite", "Check");
  const long code = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
  error->Release();
  NUVEdbGeneralTool().CheckError(code, "first", "second");
  unsigned int count = 0;
  EXPECT_GE(reporter->GetReportCount(&count), 0);
  EXPECT_EQ(count, 1U);
  reporter->ClearReports();
  reporter->Release();
}
