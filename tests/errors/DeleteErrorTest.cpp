#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostObjectLists.h"
#include "NUVEdbDeleteError.h"
#include "NUVIEdbSysObject.h"
#include "TestHost.h"
#include "TestHostObject.h"

namespace {
NUVListValNUVUnicodeString Texts(std::initializer_list<const char*> texts) {
  NUVListValNUVUnicodeString list;
  for (const char* t : texts) list.Append(t);
  return list;
}
}  // namespace

TEST(DeleteError, SetErrorInfoNeedsListsOfOneSize) {
  NUVEdbDeleteError error(3, "M", "C");
  EXPECT_GE(error.SetErrorInfo(Texts({"K1", "K2"}), Texts({"PART", "DOC"}), Texts({"a", "b"})), 0);
  EXPECT_LT(error.SetErrorInfo(Texts({"X", "Y"}), Texts({"T", "T"}), Texts({"1", "2", "3"})), 0);
  NUVEdbDeleteError copy(error);
  auto* clone = static_cast<NUVEdbDeleteError*>(error.CloneSelf());
  ASSERT_NE(clone, nullptr);
  EXPECT_STREQ(clone->IsA(), "NUVEdbDeleteError");
  EXPECT_TRUE(clone->IsAKindOf("NUVInternalError"));
  EXPECT_EQ(clone->Self(), clone);
  EXPECT_EQ(error.Setup("f", 2), &error);
  unsigned int length = 5;
  const NUVErrDsc* table = nullptr;
  error.GetErrorTable(&length, &table);
  EXPECT_EQ(length, 0U);
  EXPECT_EQ(table, NUVEdbDeleteError::errorTable);
  clone->Release();
  NUVBaseUnknown::FailAllocationAt(1);
  EXPECT_EQ(error.CloneSelf(), nullptr);
}

TEST(DeleteError, GetErrorInfoFailsWithoutEntriesOrHandle) {
  auto* host = new TestHost;
  host->Install();
  NUVEdbDeleteError error(3U);
  NUVListValNUVUnicodeString classTypes = Texts({"kept"});
  NUVIUnknownList* objects = reinterpret_cast<NUVIUnknownList*>(&error);
  EXPECT_LT(error.GetErrorInfo(nullptr, classTypes), 0);
  EXPECT_LT(error.GetErrorInfo(&objects, classTypes), 0);  // no entries
  EXPECT_EQ(objects, nullptr);
  EXPECT_GE(error.SetErrorInfo(Texts({}), Texts({}), Texts({})), 0);
  EXPECT_LT(error.GetErrorInfo(&objects, classTypes), 0);
  error.SetErrorInfo(Texts({"K1"}), Texts({"PART"}), Texts({""}));
  host->offerContext = false;
  EXPECT_LT(error.GetErrorInfo(&objects, classTypes), 0);  // no handle
  EXPECT_EQ(objects, nullptr);
  EXPECT_EQ(classTypes.Size(), 1);
  EXPECT_EQ(host->handle.calls, 0);
  host->offerContext = true;
  host->handle.failAt = HostScript::kEveryCall;
  EXPECT_EQ(error.GetErrorInfo(&objects, classTypes), NUV_E_FAIL);  // the host refuses the object
  EXPECT_EQ(objects, nullptr);
  EXPECT_EQ(classTypes.Size(), 0);
  EXPECT_EQ(ReferencesOf(host->databaseHandle), 1UL);
  TestHost::Uninstall();
  host->Release();
}

namespace {

// How the host answers the two creations of one GetErrorInfo call, and
// what the caller gets back.
struct CreationCase {
  const char* name;
  int nullAt;
  int failAt;
  long createCode;
  long expectedCode;
  const char* expectedKeys;  // of the objects in the list, in order, joined by "+"
  std::vector<std::string> expectedClassTypes;
};

class DeleteErrorCreation : public testing::TestWithParam<CreationCase> {};

}  // namespace

TEST_P(DeleteErrorCreation, ListsTheObjectsTheHostCreated) {
  const CreationCase& c = GetParam();
  auto* host = new TestHost;
  host->Install();
  host->handle.nullAt = c.nullAt;
  host->handle.failAt = c.failAt;
  host->createCode = c.createCode;
  NUVEdbDeleteError error(3U);
  error.SetErrorInfo(Texts({"K1", "D1"}), Texts({"PART", "DOC"}), Texts({"", ""}));
  NUVListValNUVUnicodeString classTypes = Texts({"stale"});
  NUVIUnknownList* objects = nullptr;
  EXPECT_EQ(error.GetErrorInfo(&objects, classTypes), c.expectedCode);
  std::vector<std::string> types;
  for (int i = 1; i <= classTypes.Size(); ++i) types.emplace_back(classTypes[i].CastToCharPtr());
  EXPECT_EQ(types, c.expectedClassTypes);
  if (!*c.expectedKeys) {
    EXPECT_EQ(objects, nullptr);
  } else {
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(KeysOf(objects), c.expectedKeys);
    EXPECT_EQ(ReferencesOf(objects), 1UL);
    objects->Release();
  }
  EXPECT_EQ(TestHostObject::Live(), 0);
  EXPECT_EQ(ReferencesOf(host->databaseHandle), 1UL);
  EXPECT_EQ(ReferencesOf(host), 2UL);  // ours and the session's
  TestHost::Uninstall();
  host->Release();
}

INSTANTIATE_TEST_SUITE_P(
    DeleteError, DeleteErrorCreation,
    testing::Values(CreationCase{"BothCreated", 0, 0, NUV_S_OK, NUV_S_OK, "K1+D1", {"PART", "DOC"}},
                    CreationCase{"BothCreatedWithAnInformationCode", 0, 0, 7, 7, "K1+D1", {"PART", "DOC"}},
                    CreationCase{"OnlyTheSecondCreated", 1, 0, NUV_S_OK, NUV_S_OK, "D1", {"DOC"}},
                    CreationCase{"NoneCreated", HostScript::kEveryCall, 0, NUV_S_OK, NUV_S_OK, "", {}},
                    CreationCase{"SecondRefused", 0, 2, NUV_S_OK, NUV_E_FAIL, "", {"PART"}},
                    CreationCase{"NegativeCodeWithAnObject", 0, 0, NUV_E_FAIL, NUV_E_FAIL, "", {}}),
    [](const testing::TestParamInfo<CreationCase>& info) { return std::string(info.param.name); });
