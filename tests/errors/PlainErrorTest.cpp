#include <gtest/gtest.h>

#include <cstring>

#include "NUVEdbAppError.h"
#include "NUVEdbWPError.h"
#include "NUVEdbWPObjError.h"

namespace {

template <class C>
void CheckPlainError(const char* name) {
  C error(7, "MSG_ID", "CATALOG");
  EXPECT_EQ(error.GetId(), 7U);
  EXPECT_STREQ(error.GetMsgId(), "MSG_ID");
  EXPECT_STREQ(error.GetMsgCatalog(), "CATALOG");
  EXPECT_STREQ(error.IsA(), name);
  EXPECT_STREQ(C::ClassName(), name);
  EXPECT_TRUE(error.IsAKindOf("NUVInternalError"));
  EXPECT_TRUE(error.IsAKindOf(NUVError::ClassName()));
  EXPECT_EQ(C::CreateItself(), nullptr);
  EXPECT_EQ(error.Setup("file", 3), &error);
  EXPECT_EQ(error.Self(), &error);
  EXPECT_EQ(error.GetSourceLineNumber(), 3);

  unsigned int length = 99;
  const NUVErrDsc* table = nullptr;
  error.GetErrorTable(&length, &table);
  EXPECT_EQ(length, 0U);
  EXPECT_EQ(table, C::errorTable);

  NUVError* clone = error.CloneSelf();
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone, &error);
  EXPECT_STREQ(clone->IsA(), name);
  EXPECT_EQ(clone->GetId(), 7U);
  EXPECT_STREQ(clone->GetMsgId(), "MSG_ID");
  EXPECT_STREQ(clone->GetMsgCatalog(), "CATALOG");
  clone->Release();

  NUVBaseUnknown::FailAllocationAt(1);
  EXPECT_EQ(error.CloneSelf(), nullptr);

  C byMessage("M", "C");
  EXPECT_EQ(byMessage.GetId(), 0U);
  EXPECT_STREQ(byMessage.GetMsgCatalog(), "C");
  C byId(5);
  byMessage = byId;
  EXPECT_EQ(byMessage.GetId(), 5U);
}

}  // namespace

TEST(PlainErrors, AppError) { CheckPlainError<NUVEdbAppError>("NUVEdbAppError"); }
TEST(PlainErrors, WPError) { CheckPlainError<NUVEdbWPError>("NUVEdbWPError"); }
TEST(PlainErrors, WPObjError) { CheckPlainError<NUVEdbWPObjError>("NUVEdbWPObjError"); }
