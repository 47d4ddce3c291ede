#include <gtest/gtest.h>

#include <cstring>

#include "NUVEdbAnyData.h"
#include "NUVEdbUtil.h"
#include "NUVMetaClass.h"

TEST(Registration, TheFirstCallBuildsTheBaseTooAndLaterCallsAskNothing) {
  ASSERT_EQ(NUVEdbAnyData::meta_object, nullptr);
  NUVMetaClass* meta = NUVEdbAnyData::MetaObject();
  ASSERT_NE(meta, nullptr);
  EXPECT_EQ(NUVEdbAnyData::meta_object, meta);
  const long requests = NUVMetaObjectRequestCount();
  EXPECT_EQ(NUVEdbAnyData::MetaObject(), meta);
  EXPECT_EQ(NUVMetaObjectRequestCount(), requests);
  EXPECT_TRUE(meta->IsAKindOf(NUVBaseUnknown::MetaObject()));
  EXPECT_STREQ(meta->GetFramework(), "NUVEngSystemDbModeler");
  EXPECT_EQ(meta->GetInstanceSize(), sizeof(NUVEdbAnyData));
}

TEST(Registration, NameClassIdAndCreateItself) {
  EXPECT_STREQ(NUVEdbAnyData::ClassName(), "NUVEdbAnyData");
  NUVEdbAnyData value;
  EXPECT_EQ(value.IsA(), NUVEdbAnyData::ClassName());
  EXPECT_TRUE(value.IsAKindOf("NUVBaseUnknown"));
  EXPECT_FALSE(value.IsAKindOf("NUVEdbSQLData"));
  EXPECT_EQ(NUVEdbAnyData::ClassId(), NUVEdbAnyData::MetaObject()->GetClassId());
  EXPECT_EQ(NUVEdbAnyData::CreateItself(), nullptr);
  EXPECT_EQ(value.GetMetaObject(), NUVEdbAnyData::MetaObject());
}

TEST(Registration, MarkerAnswersOne) { EXPECT_EQ(KORVEL_KIT2_INTERNAL_NUVEdbUtil(), 1); }
