#include <gtest/gtest.h>

#include "NUVEdbOutputData.h"
#include "NUVIUnknownListImpl.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"

// The names, types and kinds of the bindings are read by the broker's
// extraction tests.
TEST(OutputData, EachBindingWritesOnlyItsOwnKind) {
  auto host = NUVAdopt(new TestHost);
  auto* object = new TestHostObject(*host, "C", "K");
  auto list = NUVAdopt(new NUVIUnknownListImpl);
  int integer = 0;
  double real = 0;
  NUVUnicodeString text;
  NUVIEdbSysObject* objectVar = nullptr;
  NUVIUnknownList* listVar = nullptr;
  NUVEdbOutputData bindings[] = {
      {"C", "I", &integer}, {"C", "D", &real}, {"C", "S", &text}, {"C", "O", objectVar}, {"C", "L", listVar}};
  for (int k = 0; k < 5; ++k) {
    integer = 0;
    real = 0;
    text = "";
    bindings[k].SetValue(7);  // every overload once, with distinct values
    bindings[k].SetValue(2.5);
    bindings[k].SetValue(NUVUnicodeString("text"));
    bindings[k].SetValue(static_cast<const NUVIEdbSysObject*>(object));
    bindings[k].SetValue(static_cast<const NUVIUnknownList*>(list.get()));
    EXPECT_EQ(integer, k == 0 ? 7 : 0) << k;
    EXPECT_EQ(real, k == 1 ? 2.5 : 0.0) << k;
    EXPECT_EQ(text, k == 2 ? "text" : "") << k;
    EXPECT_EQ(objectVar, k >= 3 ? object : nullptr) << k;
    EXPECT_EQ(listVar, k >= 4 ? static_cast<NUVIUnknownList*>(list.get()) : nullptr) << k;
  }
  EXPECT_EQ(ReferencesOf(object), 2U);
  listVar->Release();  // the reference the binding wrote
  list.Reset();
  // The variable holds the only reference: setting the object again must keep it alive.
  object->Release();
  bindings[3].SetValue(static_cast<const NUVIEdbSysObject*>(objectVar));
  ASSERT_EQ(objectVar, object);
  EXPECT_EQ(ReferencesOf(object), 1U);
  bindings[3].SetValue(static_cast<const NUVIEdbSysObject*>(nullptr));  // releases it
  EXPECT_EQ(objectVar, nullptr);

  NUVEdbOutputData unbound("C", "I", static_cast<int*>(nullptr));
  unbound.SetValue(3);  // does nothing, reports nothing
}
