#include <gtest/gtest.h>

#include "NUVEdbAppError.h"
#include "NUVEdbDeleteError.h"
#include "NUVEdbWPError.h"
#include "NUVEdbWPObjError.h"
#include "NUVRef.h"

namespace {

// What every error class of the library answers, whatever data of its own
// it carries.
template <class C>
void CheckErrorClass(const char* name) {
  SCOPED_TRACE(name);
  C error(7, "MSG_ID", "CATALOG");
  EXPECT_EQ(error.GetId(), 7U);
  EXPECT_STREQ(error.GetMsgId(), "MSG_ID");
  EXPECT_STREQ(error.GetMsgCatalog(), "CATALOG");
  EXPECT_STREQ(error.IsA(), name);
  EXPECT_TRUE(error.IsAKindOf("NUVInternalError"));
  EXPECT_EQ(error.Setup("file", 3), &error);
  EXPECT_EQ(error.GetSourceLineNumber(), 3);
  unsigned int length = 99;
  const NUVErrDsc* table = nullptr;
  error.GetErrorTable(&length, &table);
  EXPECT_EQ(length, 0U);  // the message table is empty

  auto clone = NUVAdopt(error.CloneSelf());
  ASSERT_NE(clone.get(), nullptr);
  EXPECT_NE(clone.get(), &error);
  EXPECT_STREQ(clone->IsA(), name);
  EXPECT_EQ(clone->GetId(), 7U);

  C byMessage("M", "C");
  EXPECT_EQ(byMessage.GetId(), 0U);
  EXPECT_STREQ(byMessage.GetMsgId(), "M");
  EXPECT_STREQ(byMessage.GetMsgCatalog(), "C");
  byMessage = C(5);
  EXPECT_EQ(byMessage.GetId(), 5U);
}

}  // namespace

TEST(ErrorClasses, AnswerTheirNamesDataAndClones) {
  CheckErrorClass<NUVEdbAppError>("NUVEdbAppError");
  CheckErrorClass<NUVEdbWPError>("NUVEdbWPError");
  CheckErrorClass<NUVEdbWPObjError>("NUVEdbWPObjError");
  CheckErrorClass<NUVEdbDeleteError>("NUVEdbDeleteError");
}
