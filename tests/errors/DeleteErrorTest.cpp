#include <gtest/gtest.h>

#include "NUVEdbDeleteError.h"
#include "TestHost.h"

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
  host->offerContext = true;
  EXPECT_LT(error.GetErrorInfo(&objects, classTypes), 0);  // the host refuses the object
  EXPECT_EQ(objects, nullptr);
  EXPECT_EQ(classTypes.Size(), 0);
  TestHost::Uninstall();
  host->Release();
}
