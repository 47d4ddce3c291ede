#include "BrokerTest.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVRawCollint.h"

namespace {

class InputDefinition : public BrokerTest {
 protected:
  // The assignment list of the adopted parameters appended to `text`.
  std::string Assignments(std::initializer_list<NUVBaseUnknown*> adopted, const char* text = "") {
    OwnedList parameters(adopted);
    NUVUnicodeString out(text);
    code = broker.ExtractInputDefinition(parameters, out);
    return out.CastToCharPtr();
  }
  // The attribute names of the bindings appended to `text`; the headers go to `headers`.
  std::string Columns(NUVListPtrNUVBaseUnknown& bindings, const char* text = "") {
    NUVUnicodeString out(text);
    code = broker.ExtractInputDefinition(bindings, headers, out);
    return out.CastToCharPtr();
  }
  // Header i as "class type.attribute name:type".
  std::string Header(int i) {
    auto& header = static_cast<NUVEdbResultTabHdr&>(*headers.get()[i]);
    NUVUnicodeString classType, attrName;
    NUVEdbObjAttrType type = EdbTypeNone;
    header.GetClassType(classType);
    header.GetAttrName(attrName);
    header.GetType(type);
    return std::string(classType.View()) + "." + std::string(attrName.View()) + ":" + std::to_string(type);
  }
  long code = 0;
  OwnedList headers;
};

TEST_F(InputDefinition, Assignments) {
  EXPECT_EQ(Assignments({new NUVEdbSQLData("A", 5), new NUVEdbSQLData("B", NUVUnicodeString("a b"), 0),
                         new NUVEdbSQLData("C", 2.5), ObjectParameter("D", "K17")},
                        "SET "),
            "SET A = 5, B = 'a%20b' , C = 2.5, D = 'K17' ");
  EXPECT_EQ(code, NUV_S_OK);
  // Entries that are not named scalar parameters are skipped; a value that
  // cannot be read, or a float, leaves the name only.
  EXPECT_EQ(
      Assignments({nullptr, new NUVEdbSQLData("F", 1.5F), new NUVEdbSQLData("E", NUVUnicodeString("e"), 1),
                   new NUVEdbSQLData(Texts({"L"}), Values<NUVRawCollint>({1}), ""), new NUVEdbSQLData("", 3),
                   new NUVEdbAnyData(4), new NUVEdbSQLData("N", static_cast<const IUnknown*>(nullptr)),
                   new NUVEdbSQLData("Q", 7)}),
      "F = , E = , N = , Q = 7");
  host->objects.failAt = HostScript::kEveryCall;
  EXPECT_EQ(Assignments({ObjectParameter("D", "K1"), new NUVEdbSQLData("Q", 7)}), "D = , Q = 7");
  EXPECT_EQ(Assignments({}, "kept"), "kept");
  EXPECT_EQ(code, NUV_E_FAIL);
}

TEST_F(InputDefinition, Columns) {
  int id = 0;
  NUVUnicodeString name;
  OwnedList bindings({new NUVEdbOutputData("", "X", &id), nullptr, new NUVEdbSQLData("ID", 1),
                      new NUVEdbOutputData("PART", "", &id), new NUVEdbOutputData("PART", "NAME", &name),
                      new NUVEdbOutputData("PART", "ID", &id)});
  OwnedList empty;
  EXPECT_EQ(Columns(bindings, "SELECT "), "SELECT NAME, ID");
  EXPECT_EQ(code, NUV_S_OK);
  EXPECT_EQ(Columns(bindings, "x"), "xNAME, ID");
  ASSERT_EQ(headers.get().Size(), 4);
  EXPECT_EQ(Header(1), "PART.NAME:" + std::to_string(EdbTypeString));
  EXPECT_EQ(Header(2), "PART.ID:" + std::to_string(EdbTypeInteger));
  EXPECT_EQ(Columns(empty, "kept"), "kept");
  EXPECT_EQ(code, NUV_E_FAIL);
}

}  // namespace
