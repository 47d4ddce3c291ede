#include <gtest/gtest.h>

#include "NUVEdbOutputData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIUnknownListImpl.h"

namespace {

// A host object whose references the test can read.
class CountedObject : public NUVBaseUnknown, public NUVIEdbSysObject {
 public:
  long QueryInterface(const GUID& iid, void** out) override { return NUVBaseUnknown::QueryInterface(iid, out); }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  long GetObjectKey(NUVUnicodeString& key) const override {
    key = "K";
    return 0;
  }
  long GetObjectName(NUVUnicodeString& name) const override {
    name = "N";
    return 0;
  }
  long GetObjectClassType(NUVUnicodeString& type) const override {
    type = "T";
    return 0;
  }
  unsigned long References() {
    AddRef();
    return Release();
  }
};

// Every SetValue overload once, with distinct values.
void SetAll(NUVEdbOutputData& binding, NUVIEdbSysObject* object, NUVIUnknownList* list) {
  binding.SetValue(7);
  binding.SetValue(2.5);
  binding.SetValue(NUVUnicodeString("text"));
  binding.SetValue(static_cast<const NUVIEdbSysObject*>(object));
  binding.SetValue(static_cast<const NUVIUnknownList*>(list));
}

}  // namespace

TEST(OutputData, EachBindingWritesOnlyItsOwnKind) {
  auto* object = new CountedObject;
  auto* list = new NUVIUnknownListImpl;
  int integer = 0;
  double real = 0;
  NUVUnicodeString text;
  NUVIEdbSysObject* objectVar = nullptr;
  NUVIUnknownList* listVar = nullptr;
  NUVEdbOutputData bindings[] = {
      {"C", "I", &integer}, {"C", "D", &real}, {"C", "S", &text}, {"C", "O", objectVar}, {"C", "L", listVar}};
  const NUVEdbObjAttrType types[] = {EdbTypeInteger, EdbTypeDouble, EdbTypeString, EdbTypeObject,
                                     EdbTypeObjectList};
  for (int k = 0; k < 5; ++k) {
    integer = 0;
    real = 0;
    text = "";
    SetAll(bindings[k], object, list);
    EXPECT_EQ(integer, k == 0 ? 7 : 0) << k;
    EXPECT_EQ(real, k == 1 ? 2.5 : 0.0) << k;
    EXPECT_EQ(text, k == 2 ? "text" : "") << k;
    EXPECT_EQ(objectVar, k >= 3 ? object : nullptr) << k;
    EXPECT_EQ(listVar, k >= 4 ? static_cast<NUVIUnknownList*>(list) : nullptr) << k;
    NUVEdbObjAttrType type = EdbTypeNone;
    EXPECT_GE(bindings[k].GetAttrType(type), 0);
    EXPECT_EQ(type, types[k]);
  }
  EXPECT_EQ(object->References(), 2U);
  bindings[3].SetValue(static_cast<const NUVIEdbSysObject*>(object));  // the same object again
  EXPECT_EQ(object->References(), 2U);
  bindings[3].SetValue(static_cast<const NUVIEdbSysObject*>(nullptr));
  EXPECT_EQ(objectVar, nullptr);
  EXPECT_EQ(object->References(), 1U);
  listVar->Release();
  list->Release();
  object->Release();

  NUVEdbOutputData unbound("C", "I", static_cast<int*>(nullptr));
  unbound.SetValue(3);  // does nothing, reports nothing
}

TEST(OutputData, SettingTheOnlyReferenceAgainKeepsTheObjectAlive) {
  NUVIEdbSysObject* variable = new CountedObject;  // the variable holds the only reference
  NUVEdbOutputData binding("C", "O", variable);
  NUVEdbOutputData copy(binding);
  copy.SetValue(static_cast<const NUVIEdbSysObject*>(variable));
  ASSERT_NE(variable, nullptr);
  EXPECT_EQ(static_cast<CountedObject*>(variable)->References(), 1U);
  variable->Release();
}

TEST(OutputData, EmptyNamesFailAndLeaveTheArgument) {
  int target = 0;
  NUVEdbOutputData binding("", "NAME", &target);
  NUVUnicodeString text("kept");
  EXPECT_LT(binding.GetClassType(text), 0);
  EXPECT_EQ(text, "kept");
  EXPECT_GE(binding.GetAttrName(text), 0);
  EXPECT_EQ(text, "NAME");
}
