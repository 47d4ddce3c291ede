#include <gtest/gtest.h>

#include <string>

#include "HostObjectLists.h"
#include "NUVEdbDeleteError.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"
#include "TestLists.h"

namespace {
// An installed test host; on leaving it checks that every host object and
// reference taken was given back.
struct InstalledHost {
  InstalledHost() { host->Install(); }
  ~InstalledHost() {
    EXPECT_EQ(TestHostObject::Live(), 0);
    EXPECT_EQ(ReferencesOf(host->databaseHandle.get()), 1UL);
    EXPECT_EQ(ReferencesOf(host.get()), 2UL);  // ours and the session's
    TestHost::Uninstall();
  }
  NUVRef<TestHost> host = NUVAdopt(new TestHost);
};
}  // namespace

TEST(DeleteError, GetErrorInfoFailsWithoutAnOutArgumentOrEntries) {
  InstalledHost installed;
  NUVEdbDeleteError error(3U);
  NUVListValNUVUnicodeString classTypes = Texts({"kept"});
  NUVIUnknownList* objects = reinterpret_cast<NUVIUnknownList*>(&error);
  EXPECT_LT(error.GetErrorInfo(nullptr, classTypes), 0);
  EXPECT_GE(error.SetErrorInfo(Texts({}), Texts({}), Texts({})), 0);
  EXPECT_LT(error.GetErrorInfo(&objects, classTypes), 0);
  EXPECT_EQ(objects, nullptr);
  EXPECT_EQ(classTypes.Size(), 1);
}

TEST(DeleteError, GetErrorInfoListsTheObjectsTheHostCreated) {
  // How the host answers the two creations, and what the caller gets back.
  const struct {
    const char* name;
    int nullAt, failAt;     // the creations the host answers with null, or refuses
    long createCode, code;  // what the host's creation answers, and what the caller gets
    const char* keys;       // of the objects in the list, in order, joined by "+"
    const char* classTypes;
    bool context = true;
  } cases[] = {
      {"BothCreated", 0, 0, NUV_S_OK, NUV_S_OK, "K1+D1", "PART+DOC"},
      {"BothCreatedWithAnInformationCode", 0, 0, 7, 7, "K1+D1", "PART+DOC"},
      {"OnlyTheSecondCreated", 1, 0, NUV_S_OK, NUV_S_OK, "D1", "DOC"},
      {"NoneCreated", HostScript::kEveryCall, 0, NUV_S_OK, NUV_S_OK, "", ""},
      {"FirstRefused", 0, 1, NUV_S_OK, NUV_E_FAIL, "", ""},
      {"SecondRefused", 0, 2, NUV_S_OK, NUV_E_FAIL, "", "PART"},
      {"NegativeCodeWithAnObject", 0, 0, NUV_E_FAIL, NUV_E_FAIL, "", ""},
      {"NoHandle", 0, 0, NUV_S_OK, NUVError::kFailureCode, "", "stale", false},  // class types untouched
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    InstalledHost installed;
    installed.host->offerContext = c.context;
    installed.host->handle.nullAt = c.nullAt;
    installed.host->handle.failAt = c.failAt;
    installed.host->createCode = c.createCode;
    NUVEdbDeleteError error(3U);
    EXPECT_GE(error.SetErrorInfo(Texts({"K1", "D1"}), Texts({"PART", "DOC"}), Texts({"", ""})), 0);
    // Lists whose sizes differ are refused, and the entries stay.
    EXPECT_LT(error.SetErrorInfo(Texts({"X"}), Texts({}), Texts({"1"})), 0);
    EXPECT_LT(error.SetErrorInfo(Texts({"X"}), Texts({"T"}), Texts({})), 0);
    NUVListValNUVUnicodeString classTypes = Texts({"stale"});
    NUVRef<NUVIUnknownList> objects;
    EXPECT_EQ(error.GetErrorInfo(objects.out(), classTypes), c.code);
    std::string types;
    for (int i = 1; i <= classTypes.Size(); ++i) types.append(i > 1 ? "+" : "").append(classTypes[i].View());
    EXPECT_EQ(types, c.classTypes);
    EXPECT_EQ(objects.get() != nullptr, *c.keys != '\0');
    EXPECT_EQ(KeysOf(objects.get()), c.keys);
    EXPECT_EQ(objects ? ReferencesOf(objects.get()) : 1UL, 1UL);
  }
}
