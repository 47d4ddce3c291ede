#include "BrokerTest.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVRawCollint.h"

namespace {

class InputDefinition : public BrokerTest {
 protected:
  // The assignment list of the adopted parameters appended to `text`.
  std::string Assignments(std::initializer_list<NUVBaseUnknown*> adopted, std::string text = "") {
    OwnedList parameters(adopted);
    NUVUnicodeString out(text.c_str());
    code = broker.ExtractInputDefinition(parameters, out);
    return out.CastToCharPtr();
  }
  // The attribute names of the bindings; their headers go to `headers`.
  std::string Columns(NUVListPtrNUVBaseUnknown& bindings, std::string text = "") {
    NUVUnicodeString out(text.c_str());
    code = broker.ExtractInputDefinition(bindings, headers, out);
    return out.CastToCharPtr();
  }
  // The class type, attribute name and type of header i.
  std::string Header(int i) {
    auto& header = static_cast<NUVEdbResultTabHdr&>(*headers.get()[i]);
    NUVUnicodeString classType;
    NUVUnicodeString attrName;
    NUVEdbObjAttrType type = EdbTypeNone;
    header.GetClassType(classType);
    header.GetAttrName(attrName);
    header.GetType(type);
    return std::string(classType.CastToCharPtr()) + "." + attrName.CastToCharPtr() + ":" +
           std::to_string(type);
  }
  long code = 0;
  OwnedList headers;
  int id = 0;
  NUVUnicodeString name;
};

TEST_F(InputDefinition, WorkedExamples) {
  EXPECT_EQ(Assignments({new NUVEdbSQLData("A", 5), new NUVEdbSQLData("B", NUVUnicodeString("x"), 0),
                         new NUVEdbSQLData("C", 2.5), ObjectParameter("D", "K17")}),
            Spaced("A·=·5,·B·=·'x'·,·C·=·2.5,·D·=·'K17'·"));
  EXPECT_EQ(code, NUV_S_OK);
  EXPECT_EQ(Assignments({new NUVEdbSQLData("P", 1.5F), new NUVEdbSQLData("Q", 7)}), Spaced("P·=·,·Q·=·7"));
  EXPECT_EQ(Assignments({nullptr, new NUVEdbSQLData("Q", 7)}), Spaced("Q·=·7"));

  NUVEdbOutputData nameBinding("PART", "NAME", &name);
  NUVEdbOutputData oidBinding("PART", "OID", &id);
  NUVListPtrNUVBaseUnknown bindings;
  bindings.Append(&nameBinding);
  bindings.Append(&oidBinding);
  EXPECT_EQ(Columns(bindings), Spaced("NAME,·OID"));
  EXPECT_EQ(code, NUV_S_OK);
  ASSERT_EQ(headers.get().Size(), 2);
  EXPECT_EQ(Header(1), "PART.NAME:" + std::to_string(EdbTypeString));
  EXPECT_EQ(Header(2), "PART.OID:" + std::to_string(EdbTypeInteger));
  EXPECT_EQ(ReferencesOf(headers.get()[1]), 1UL);
}

TEST_F(InputDefinition, AssignmentsAppendAndSkipWhatHasNoScalarValue) {
  EXPECT_EQ(Assignments({new NUVEdbSQLData("B", NUVUnicodeString("a b"), 0),
                         new NUVEdbSQLData("E", NUVUnicodeString("e"), 1),
                         new NUVEdbSQLData(Texts({"L"}), Values<NUVRawCollint>({1}), ""),
                         new NUVEdbSQLData("", 3), new NUVEdbAnyData(4)},
                        "UPDATE T SET "),
            "UPDATE T SET B = 'a%20b' , E = ");
  EXPECT_EQ(code, NUV_S_OK);
}

TEST_F(InputDefinition, ObjectWhoseKeyCannotBeReadGivesNameOnly) {
  host->objects.failAt = 1;
  EXPECT_EQ(
      Assignments({ObjectParameter("D", "K1"), new NUVEdbSQLData("N", static_cast<const IUnknown*>(nullptr)),
                   new NUVEdbSQLData("Q", 7)}),
      "D = , N = , Q = 7");
}

TEST_F(InputDefinition, EmptyListsFailWithNothingAppended) {
  NUVListPtrNUVBaseUnknown empty;
  EXPECT_EQ(Assignments({}, "kept"), "kept");
  EXPECT_EQ(code, NUV_E_FAIL);
  EXPECT_EQ(Columns(empty, "kept"), "kept");
  EXPECT_EQ(code, NUV_E_FAIL);
  EXPECT_EQ(headers.get().Size(), 0);
}

TEST_F(InputDefinition, ColumnsSkipUnusableBindingsAndRepeatWhenCalledTwice) {
  NUVEdbOutputData noClass("", "X", &id);
  NUVEdbOutputData noName("PART", "", &id);
  NUVEdbOutputData idBinding("PART", "ID", &id);
  NUVEdbSQLData notABinding("ID", 1);
  notABinding.AddRef();  // a stack object must never reach zero
  NUVListPtrNUVBaseUnknown bindings;
  for (NUVBaseUnknown* entry :
       {static_cast<NUVBaseUnknown*>(&noClass), static_cast<NUVBaseUnknown*>(nullptr),
        static_cast<NUVBaseUnknown*>(&notABinding), static_cast<NUVBaseUnknown*>(&noName),
        static_cast<NUVBaseUnknown*>(&idBinding)}) {
    bindings.Append(entry);
  }
  EXPECT_EQ(Columns(bindings, "SELECT "), "SELECT ID");
  EXPECT_EQ(Columns(bindings, "SELECT ID"), "SELECT IDID");
  EXPECT_EQ(headers.get().Size(), 2);
}

}  // namespace
