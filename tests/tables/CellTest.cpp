#include <gtest/gtest.h>

#include <utility>

#include "NUVEdbResultTabData.h"
#include "NUVRef.h"
#include "TestObject.h"

namespace {
// What a cell answers; "-" and -1 where a read fails. The broker's tests
// read headers, and the tables' tests show that a header is no cell.
struct Snapshot {
  NUVUnicodeString attrName = "-";
  NUVUnicodeString classType = "-";
  NUVEdbObjAttrType type = EdbTypeNone;
  double number = -1;
  NUVUnicodeString text = "-";
  bool operator==(const Snapshot&) const = default;
};

Snapshot Read(const NUVEdbResultTabData& item) {
  Snapshot s;
  item.GetAttrName(s.attrName);
  item.GetClassType(s.classType);
  item.GetType(s.type);
  item.GetData(s.text, 1);
  int i = 0;
  float f = 0;
  double d = 0;
  if (item.GetData(i) >= 0) s.number = i;
  if (item.GetData(f) >= 0) s.number = f;
  if (item.GetData(d) >= 0) s.number = d;
  return s;
}

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << s.attrName.View() << "/" << s.classType.View() << "/" << s.type << "/" << s.number << "/"
      << s.text.View();
}
}  // namespace

TEST(Cells, CopyByValueTypeCopiesScalarsAndStringsOnly) {
  auto object = NUVAdopt(new TestObject);
  const NUVEdbResultTabData integer("C", "N", 5), floating("C", "N", 1.5F), doubled("C", "N", 2.5),
      text("C", "N", NUVUnicodeString("a b"), 0), encoded("C", "N", NUVUnicodeString("a b"), 1),
      pointer("C", "N", static_cast<const IUnknown*>(static_cast<NUVBaseUnknown*>(object.get()))),
      unnamed("C", "", 3), noClass("", "N", 5);
  EXPECT_EQ(Read(unnamed), (Snapshot{"-", "C", EdbTypeInteger, 3}));  // the failed read leaves the text
  const std::pair<const NUVEdbResultTabData*, Snapshot> cases[] = {
      {&integer, {"N", "C", EdbTypeInteger, 5}},
      {&floating, {"N", "C", EdbTypeFloat, 1.5}},
      {&doubled, {"N", "C", EdbTypeDouble, 2.5}},
      {&text, {"N", "C", EdbTypeString, -1, "a b"}},
      {&encoded, {"N", "C"}},  // neither encoded strings nor objects are copied
      {&pointer, {"N", "C"}},
      {&unnamed, {}},  // without both names nothing is copied
      {&noClass, {}},
      {nullptr, {}}};
  for (const auto& [source, copy] : cases) EXPECT_EQ(Read(NUVEdbResultTabData(source)), copy);
  EXPECT_EQ(object->References(), 2U);
}
