#include "BrokerTest.h"
#include "NUVXHContext.h"

namespace {

class VolatileObjectList : public BrokerTest {
 protected:
  void TearDown() override {
    if (list) list->Release();
    BrokerTest::TearDown();
  }
  long Create(const char* keys, const char* keyName = "ID", const char* classType = "PART") {
    return broker.CreateVolatileObjectList(classType, keyName, keys, list);
  }
  std::string Asked() const {
    std::string asked;
    for (const std::string& key : host->askedKeys) asked += "[" + key + "]";
    return asked;
  }
  NUVIUnknownList* list = nullptr;
};

TEST_F(VolatileObjectList, NewListHoldsTheObjectsInKeyOrder) {
  host->createCode = 7;
  EXPECT_EQ(Create("K1+K2"), 7);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(KeysOf(list), "K1+K2");
  EXPECT_EQ(ReferencesOf(list), 1UL);
  EXPECT_EQ(ReferencesOf(host->databaseHandle), 1UL);
}

TEST_F(VolatileObjectList, KeysAreTakenWithoutSurroundingSpaces) {
  const struct {
    const char* keys;
    const char* asked;
    const char* collected;
  } cases[] = {
      {" K1 + K2", "[K1][K2]", "K1+K2"}, {"K1", "[K1]", "K1"},    {"K1+  +K2", "[K1][][K2]", "K1++K2"},
      {"+K1++K2+", "[K1][K2]", "K1+K2"}, {"K 1", "[K 1]", "K 1"},
  };
  for (const auto& c : cases) {
    host->askedKeys.clear();
    EXPECT_GE(Create(c.keys), 0) << c.keys;
    EXPECT_EQ(Asked(), c.asked) << c.keys;
    EXPECT_EQ(KeysOf(list), c.collected) << c.keys;
    list->Release();
    list = nullptr;
  }
}

TEST_F(VolatileObjectList, NewObjectsGoAfterTheExistingOnes) {
  list = HostObjectList(*host, "DOC", {"D1", "D2", "D3"});
  NUVIUnknownList* given = list;
  EXPECT_GE(Create("K1+K2"), 0);
  EXPECT_EQ(list, given);
  EXPECT_EQ(KeysOf(list), "D1+D2+D3+K1+K2");
}

TEST_F(VolatileObjectList, OnlyTheLastCreationsCodeIsReturned) {
  const struct {
    int failAt;
    bool fails;
    const char* collected;
  } cases[] = {{1, false, "K2"}, {2, true, "K1"}, {HostScript::kEveryCall, true, nullptr}};
  for (const auto& c : cases) {
    host->handle.Reset();
    host->handle.failAt = c.failAt;
    EXPECT_EQ(Create("K1+K2") < 0, c.fails) << c.failAt;
    if (!c.collected) {
      EXPECT_EQ(list, nullptr);
      continue;
    }
    EXPECT_EQ(KeysOf(list), c.collected);
    list->Release();
    list = nullptr;
  }
}

TEST_F(VolatileObjectList, NullAnswerOrUnknownClassCollectsNothing) {
  host->handle.nullAt = HostScript::kEveryCall;
  EXPECT_GE(Create("K1"), 0);
  EXPECT_EQ(list, nullptr);
  host->handle.Reset();
  EXPECT_LT(Create("K1", "ID", "NOSUCH"), 0);
  EXPECT_EQ(list, nullptr);
}

TEST_F(VolatileObjectList, FailsWithNothingAskedOrTouched) {
  const struct {
    const char* title;
    const char* keyName;
    const char* keys;
    bool offerContext;
    const char* asked;
  } cases[] = {{"empty key name", "", "K1", true, ""},
               {"empty key list", "ID", "", true, ""},
               {"only separators", "ID", "+++", true, ""},
               {"no database handle", "ID", "K1", false, ""}};
  EXPECT_EQ(Create("K1", ""), NUV_E_FAIL);
  EXPECT_EQ(host->wide.calls, 0);  // no handle is asked for without a key name
  for (const auto& c : cases) {
    host->offerContext = c.offerContext;
    host->askedKeys.clear();
    EXPECT_EQ(Create(c.keys, c.keyName), NUV_E_FAIL) << c.title;
    EXPECT_EQ(list, nullptr) << c.title;
    EXPECT_EQ(Asked(), c.asked) << c.title;
  }
}

TEST_F(VolatileObjectList, PlatformErrorKeepsWhatWasAddedAndIsFlushedOnce) {
  host->handle.raiseAt = 2;
  EXPECT_EQ(Create("K1+K2+K3"), NUV_E_FAIL);
  EXPECT_EQ(KeysOf(list), "K1");
  EXPECT_EQ(FlushesSinceSetUp(), 1);
  EXPECT_EQ(ReferencesOf(host->databaseHandle), 1UL);
}

TEST_F(VolatileObjectList, ForeignErrorReachesTheCallersFrame) {
  host->handle.raiseAt = 1;
  host->wide.raiseForeign = true;
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { Create("K1"); }));
  EXPECT_EQ(FlushesSinceSetUp(), 0);
  EXPECT_EQ(ReferencesOf(host->databaseHandle), 1UL);
}

}  // namespace
