#include "BrokerTest.h"

namespace {

class VolatileObjectList : public BrokerTest {
 protected:
  long Create(const char* keys, const char* keyName = "ID") {
    return broker.CreateVolatileObjectList("PART", keyName, keys, *list.inout());
  }
  // The keys of the list's objects, or "no list"; the list is released.
  std::string Collected() {
    if (!list) return "no list";
    std::string keys = KeysOf(list.get());
    list.Reset();
    return keys;
  }
  NUVRef<NUVIUnknownList> list;
};

TEST_F(VolatileObjectList, OneObjectPerKeyAndTheLastCreationsCode) {
  // Keys are taken without surrounding spaces; a failed or null creation
  // adds nothing, and only the last creation's code is returned.
  const struct {
    const char* keys;
    int failAt;
    int nullAt;
    long code;
    const char* collected;
  } cases[] = {{" K1 + K2", 0, 0, 7, "K1+K2"},
               {"K1+  +K2", 0, 0, 7, "K1++K2"},
               {"+K1++K2+", 0, 0, 7, "K1+K2"},
               {"K 1", 0, 0, 7, "K 1"},
               {"K1+K2", 1, 0, 7, "K2"},
               {"K1+K2", 2, 0, NUV_E_FAIL, "K1"},
               {"K1+K2", HostScript::kEveryCall, 0, NUV_E_FAIL, "no list"},
               {"K1+K2", 0, HostScript::kEveryCall, NUV_S_OK, "no list"}};
  host->createCode = 7;
  for (const auto& c : cases) {
    host->handle.Reset();
    host->handle.failAt = c.failAt;
    host->handle.nullAt = c.nullAt;
    EXPECT_EQ(Create(c.keys), c.code) << c.keys << " " << c.failAt << " " << c.nullAt;
    EXPECT_EQ(Collected(), c.collected) << c.keys << " " << c.failAt << " " << c.nullAt;
  }
}

TEST_F(VolatileObjectList, NewObjectsGoAfterTheExistingOnes) {
  list = NUVAdopt(HostObjectList(*host, "DOC", {"D1", "D2", "D3"}));
  const NUVIUnknownList* given = list.get();
  EXPECT_EQ(Create("K1+K2"), NUV_S_OK);
  EXPECT_EQ(list.get(), given);
  EXPECT_EQ(Collected(), "D1+D2+D3+K1+K2");
}

TEST_F(VolatileObjectList, FailsWithoutKeyNameKeyOrHandle) {
  EXPECT_EQ(Create("K1", ""), NUV_E_FAIL);
  EXPECT_EQ(host->wide.calls, 0);  // not even the handle is asked for
  EXPECT_EQ(Create(""), NUV_E_FAIL);
  EXPECT_EQ(Create("+++"), NUV_E_FAIL);
  host->offerContext = false;
  EXPECT_EQ(Create("K1"), NUV_E_FAIL);
  EXPECT_EQ(Collected(), "no list");
}

}  // namespace
