#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "NUVEdbAnyData.h"
#include "NUVEdbUtil.h"
#include "NUVMetaClass.h"

// The first calls, from several threads at once, build one meta object with
// its base; later calls ask the registry nothing. The class answers its
// name and kind, and creates no instance of itself.
TEST(Registration, TheFirstCallsBuildOneMetaObjectAndLaterCallsAskNothing) {
  ASSERT_EQ(NUVEdbAnyData::meta_object, nullptr);
  std::vector<NUVMetaClass*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] { seen[i] = NUVEdbAnyData::MetaObject(); });
  for (std::thread& t : threads) t.join();
  NUVMetaClass* meta = seen[0];
  ASSERT_NE(meta, nullptr);
  for (NUVMetaClass* other : seen) EXPECT_EQ(other, meta);
  EXPECT_EQ(NUVEdbAnyData::meta_object, meta);
  EXPECT_EQ(fct_RetrieveMetaObject("NUVEdbAnyData", NUVClassKindComponent, nullptr, "", "", 0), meta);
  const long requests = NUVMetaObjectRequestCount();
  EXPECT_EQ(NUVEdbAnyData::MetaObject(), meta);
  EXPECT_EQ(NUVMetaObjectRequestCount(), requests);
  EXPECT_TRUE(meta->IsAKindOf(NUVBaseUnknown::MetaObject()));
  EXPECT_STREQ(meta->GetFramework(), "NUVEngSystemDbModeler");
  EXPECT_EQ(meta->GetInstanceSize(), sizeof(NUVEdbAnyData));
  EXPECT_EQ(NUVEdbAnyData::ClassId(), meta->GetClassId());
  EXPECT_STREQ(NUVEdbAnyData::ClassName(), "NUVEdbAnyData");
  NUVEdbAnyData value;
  EXPECT_EQ(value.IsA(), NUVEdbAnyData::ClassName());
  EXPECT_TRUE(value.IsAKindOf("NUVBaseUnknown"));
  EXPECT_FALSE(value.IsAKindOf("NUVEdbSQLData"));
  EXPECT_EQ(NUVEdbAnyData::CreateItself(), nullptr);
  EXPECT_EQ(value.GetMetaObject(), meta);
  EXPECT_EQ(KORVEL_KIT2_INTERNAL_NUVEdbUtil(), 1);  // the library's marker
}
