#include "HostSuite.h"

#include "NUVBaseUnknown.h"
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

void HostSuite::TearDown() {
  host->Uninstall();
  host.reset();
}

std::string HostPluginName(const testing::TestParamInfo<HostPlugin>& info) { return info.param.name; }

namespace {

// An interface the session offers, with its reference, or null.
template <class Interface>
Interface* FromSession(const GUID& iid) {
  NUVEdbGeneralTool general;
  Interface* itf = nullptr;
  if (general.GetInterfaceFromSession(iid, reinterpret_cast<void**>(&itf)) < 0) return nullptr;
  return itf;
}

std::string KeyOf(const NUVIEdbSysObject& object) {
  NUVUnicodeString key;
  object.GetObjectKey(key);
  return key.CastToCharPtr();
}

std::string ClassTypeOf(const NUVIEdbSysObject& object) {
  NUVUnicodeString classType;
  object.GetObjectClassType(classType);
  return classType.CastToCharPtr();
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

std::string Joined(const std::vector<std::string>& keys) {
  std::string joined;
  for (const std::string& key : keys) joined += (joined.empty() ? "" : "+") + key;
  return joined;
}

}  // namespace

TEST_P(HostSuite, SessionOffersTheMetadataToolTheHandleAndTheReporter) {
  NUVEdbGeneralTool general;
  NUVEdsMetadataTool* tool = general.GetMetadataTool();
  ASSERT_NE(tool, nullptr);
  tool->Release();
  NUVIEdbDatabaseHandle* handle = nullptr;
  ASSERT_GE(general.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, reinterpret_cast<void**>(&handle)),
            0);
  ASSERT_NE(handle, nullptr);
  NUVUnicodeString name;
  EXPECT_GE(handle->GetDatabaseName(name), 0);
  EXPECT_EQ(std::string(name.CastToCharPtr()), host->DatabaseName());
  handle->Release();
  auto* reporter = FromSession<NUVIEdbErrorReporter>(IID_NUVIEdbErrorReporter);
  ASSERT_NE(reporter, nullptr);
  reporter->Release();
}

TEST_P(HostSuite, HandleIsGivenOnlyForTheCurrentDatabase) {
  auto* context = FromSession<NUVIEdbDatabaseContext>(IID_NUVIEdbDatabaseContext);
  ASSERT_NE(context, nullptr);
  NUVUnicodeString current;
  EXPECT_GE(context->GetCurrentDatabase(current), 0);
  EXPECT_EQ(std::string(current.CastToCharPtr()), host->DatabaseName());
  void* handle = nullptr;
  const long code = context->GetDatabaseHandle("no such database", IID_NUVIEdbDatabaseHandle, &handle);
  EXPECT_TRUE(code < 0 || !handle);
  if (handle) static_cast<NUVIEdbDatabaseHandle*>(handle)->Release();
  context->Release();
}

TEST_P(HostSuite, MetadataToolAnswersTheKeyAttribute) {
  NUVEdbGeneralTool general;
  NUVEdsMetadataTool* tool = general.GetMetadataTool();
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(std::string(tool->GetPrimaryKey(host->ClassType().c_str()).CastToCharPtr()),
            host->KeyAttribute());
  EXPECT_EQ(std::string(tool->GetPrimaryKey("NO_SUCH_CLASS").CastToCharPtr()), "");
  tool->Release();
}

TEST_P(HostSuite, VolatileObjectsCarryTheirKeyAndClassType) {
  NUVEdbBrokerTool broker;
  NUVIUnknownList* list = nullptr;
  const std::vector<std::string> keys = host->Keys();
  ASSERT_GE(broker.CreateVolatileObjectList(host->ClassType().c_str(), host->KeyAttribute().c_str(),
                                            Joined(keys).c_str(), list),
            0);
  ASSERT_NE(list, nullptr);
  unsigned int count = 0;
  list->Count(&count);
  ASSERT_EQ(count, keys.size());
  for (unsigned int i = 0; i < count; ++i) {
    NUVIEdbSysObject* object = ObjectAt(*list, i);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(KeyOf(*object), keys[i]);
    EXPECT_EQ(ClassTypeOf(*object), host->ClassType());
    object->Release();
  }
  list->Release();
  NUVIUnknownList* none = nullptr;
  EXPECT_LT(broker.CreateVolatileObjectList("NO_SUCH_CLASS", "ID", keys[0].c_str(), none), 0);
  EXPECT_EQ(none, nullptr);
}

TEST_P(HostSuite, QueryAnswersOnlyObjectsThatExist) {
  const NUVIEdbSysQuery2* query = host->Query();
  ASSERT_NE(query, nullptr);
  for (const std::string& key : host->Keys()) {
    NUVIEdbSysObject* object = nullptr;
    EXPECT_GE(query->GetObjectFromKey(host->ClassType().c_str(), key.c_str(), &object), 0) << key;
    ASSERT_NE(object, nullptr) << key;
    EXPECT_EQ(KeyOf(*object), key);
    EXPECT_EQ(ClassTypeOf(*object), host->ClassType());
    object->Release();
  }
  const struct {
    std::string classType;
    std::string key;
  } missing[] = {{host->ClassType(), host->MissingKey()}, {"NO_SUCH_CLASS", host->Keys()[0]}};
  for (const auto& m : missing) {
    NUVIEdbSysObject* object = nullptr;
    const long code = query->GetObjectFromKey(m.classType.c_str(), m.key.c_str(), &object);
    EXPECT_TRUE(code < 0 || !object) << m.classType << " " << m.key;
    if (object) object->Release();
  }
}

TEST_P(HostSuite, ReporterReceivesWhatCheckErrorReports) {
  auto* reporter = FromSession<NUVIEdbErrorReporter>(IID_NUVIEdbErrorReporter);
  ASSERT_NE(reporter, nullptr);
  reporter->ClearReports();
  auto* error = new NUVInternalError(9, "HostSuite", "Check");
  const long code = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
  error->Release();
  NUVEdbGeneralTool general;
  general.CheckError(code, "first", "second");
  unsigned int count = 0;
  EXPECT_GE(reporter->GetReportCount(&count), 0);
  EXPECT_EQ(count, 1U);
  reporter->ClearReports();
  reporter->Release();
}

TEST_P(HostSuite, ObjectsAreFoundInAResultTableByTheirKey) {
  NUVEdbResultTable table;
  const std::vector<std::string> keys = host->Keys();
  for (const std::string& key : keys) {
    auto* cell =
        new NUVEdbResultTabData(host->ClassType().c_str(), host->KeyAttribute().c_str(), key.c_str(), 0);
    NUVListPtrNUVBaseUnknown row;
    row.Append(cell);
    NUVEdbResultTableBuilder::AppendRow(table, row);
    cell->Release();
  }
  const NUVIEdbSysQuery2* query = host->Query();
  NUVIEdbSysObject* last = nullptr;
  query->GetObjectFromKey(host->ClassType().c_str(), keys.back().c_str(), &last);
  ASSERT_NE(last, nullptr);
  NUVEdbBrokerTool broker;
  EXPECT_EQ(broker.FindRowNumber(last, table, static_cast<int>(keys.size())), static_cast<int>(keys.size()));
  last->Release();
}
