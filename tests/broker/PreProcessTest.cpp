#include <vector>

#include "BrokerTest.h"
#include "NUVRawColldouble.h"
#include "NUVRawCollfloat.h"
#include "NUVRawCollint.h"
#include "TestObject.h"

namespace {

NUVBaseUnknown* Int(const char* name, int value) { return new NUVEdbSQLData(name, value); }
NUVBaseUnknown* Str(const char* name, const char* value) {
  return new NUVEdbSQLData(name, NUVUnicodeString(value), 0);
}
NUVBaseUnknown* IntList(std::initializer_list<const char*> names, std::initializer_list<int> values,
                        const char* condition) {
  return new NUVEdbSQLData(Texts(names), Values<NUVRawCollint>(values), condition);
}

class PreProcess : public BrokerTest {
 protected:
  // The statement pre-processed with the adopted parameters into `result`;
  // the answer's code goes to `code`.
  std::string Run(const char* statement, const std::vector<NUVBaseUnknown*>& adopted,
                  const char* result = "") {
    OwnedList parameters;
    for (NUVBaseUnknown* parameter : adopted) parameters.Adopt(parameter);
    NUVUnicodeString text(result);
    code = broker.PreProcessSQLStatement(statement, parameters, text);
    return text.CastToCharPtr();
  }
  // An object-list parameter of PART objects, optionally followed by an
  // object without the system-object interface.
  NUVBaseUnknown* ObjectList(std::initializer_list<const char*> names,
                             std::initializer_list<const char*> keys, const char* condition,
                             bool foreignLast = false) {
    auto items = NUVAdopt(HostObjectList(*host, "PART", keys));
    auto foreign = NUVAdopt(new TestObject);
    if (foreignLast)
      items->Add(static_cast<unsigned int>(keys.size()), static_cast<TestSecond*>(foreign.get()));
    return new NUVEdbSQLData(Texts(names), items.get(), condition);
  }
  long code = 0;
};

// A statement, its parameters and the text they give, run with the n-th
// read of an object's key failing.
struct Case {
  const char* statement;
  std::vector<NUVBaseUnknown*> parameters;
  const char* expected;
  long code = NUV_S_OK;
  int failKeyAt = 0;
};

TEST_F(PreProcess, Substitutes) {
  const Case cases[] = {
      {"WHERE ID=:ID", {Int(":ID", 42)}, "WHERE ID=42"},
      {"WHERE W>:W", {new NUVEdbSQLData(":W", 2.5)}, "WHERE W>2.5"},
      // Strings go in their stored form, nothing escaped.
      {"N=:N", {Str(":N", "O'Neil")}, "N='O%27Neil'"},
      {"N=:N", {Str(":N", "")}, "N=''"},
      {"WHERE OID=:OBJ", {ObjectParameter(":OBJ", "K17")}, "WHERE OID=K17"},
      {"SELECT :ID", {}, "SELECT :ID"},
      // Names match as plain substrings, also inside values written before.
      {":ID2 :ID :ID", {Int(":ID", 1)}, "12 1 1"},
      {":A", {Str(":A", "x:B"), Int(":B", 7)}, "'x7'"},
      // Each list item replaces its own name; with a condition, one expression replaces the name.
      {"WHERE ID IN (:A,:B)", {IntList({":A", ":B"}, {1, 2}, "")}, "WHERE ID IN (1,2)"},
      {"(:P,:Q)", {ObjectList({":P", ":Q"}, {"K1", "K2"}, "")}, "(K1,K2)"},
      {"N=", {new NUVEdbSQLData(Texts({"N="}), Texts({"A", "B"}), "OR")}, " (  N='A' OR  N='B' ) "},
      {"WHERE ID=", {IntList({"ID="}, {1, 2, 3}, "|")}, "WHERE  (  ID=1 ^|^  ID=2 ^|^  ID=3 ) "},
      {"X=", {new NUVEdbSQLData(Texts({"X="}), Values<NUVRawColldouble>({0.5}), "%")}, " (  X=0.5 ) "},
      {"X=", {IntList({"X="}, {1, 2}, "!")}, " (  X=1 ^!^  X=2 ) "},
      {"X=", {IntList({"X="}, {1, 2}, "%")}, " (  X=1 ^%^  X=2 ) "},
      {"X=", {IntList({"X="}, {1, 2}, "||")}, " (  X=1 ||  X=2 ) "},
      {"ID=", {ObjectList({"ID="}, {"K1", "K2"}, "OR")}, " (  ID=K1 OR  ID=K2 ) "},
      // Floats, non-parameters, and parameters without a usable name or value are skipped.
      {":F :FL :E :X :Y :ID",
       {nullptr, new TestObject, new NUVEdbAnyData(5), new NUVEdbSQLData(":F", 1.5F),
        new NUVEdbSQLData(Texts({":FL"}), Values<NUVRawCollfloat>({1.5F}), ""),
        new NUVEdbSQLData(":E", NUVUnicodeString("e"), 1), new NUVEdbSQLData("", 3),
        IntList({":L"}, {}, "OR"), new NUVEdbSQLData(":X", static_cast<const IUnknown*>(nullptr)),
        Int(":ID", 42)},
       ":F :FL :E :X :Y 42"},
      // Without a condition, an object item whose key cannot be read keeps
      // its placeholder and the next parameters still follow.
      {"(:P,:Q) :D", {ObjectList({":P", ":Q"}, {"K1", "K2"}, ""), Int(":D", 4)}, "(:P,K2) 4", NUV_S_OK, 1},
      {"(:P,:Q) :D", {ObjectList({":P", ":Q"}, {"K1", "K2"}, ""), Int(":D", 4)}, "(K1,:Q) 4", NUV_S_OK, 2},
      // A failure keeps the earlier substitutions and stops with its code:
      // an object key that cannot be read keeps its placeholder, a list item
      // that cannot be fetched, or has no key in a list with a condition, is
      // left out of the list.
      {":N :O :ID", {Int(":N", 5), ObjectParameter(":O", "K1"), Int(":ID", 42)}, "5 :O :ID", NUV_E_FAIL, 1},
      {"(:A,:B,:C) :D", {IntList({":A", ":B"}, {1, 2, 3}, ""), Int(":D", 4)}, "(1,2,:C) :D", NUV_E_FAIL},
      {"ID=", {ObjectList({"ID="}, {"K1", "K2"}, "OR")}, " (  ID=K2 ) ", NUV_E_FAIL, 1},
      {"(:P,:Q) :D",
       {ObjectList({":P", ":Q"}, {"K1"}, "", true), Int(":D", 4)},
       "(K1,:Q) :D",
       NUV_E_NOINTERFACE},
      {"ID=", {ObjectList({"ID="}, {"K1"}, "OR", true)}, " (  ID=K1 ) ", NUV_E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    host->objects.Reset();
    host->objects.failAt = c.failKeyAt;
    EXPECT_EQ(Run(c.statement, c.parameters), c.expected);
    EXPECT_EQ(code, c.code) << c.statement;
  }
  EXPECT_EQ(Run("", {Int(":ID", 1)}, "kept"), "kept");
  EXPECT_EQ(code, NUV_S_OK);
}

TEST_F(PreProcess, PlatformErrorIsFlushedOnceAndAnyOtherKindReachesTheCaller) {
  for (const bool foreign : {false, true}) {
    RaiseAt(host->objects, 1, foreign);
    code = 0;
    std::string text;
    const auto run = [&] { text = Run(":N :O", {Int(":N", 5), ObjectParameter(":O", "K1")}); };
    EXPECT_EQ(NUVXHContext().Run(run), !foreign);
    EXPECT_EQ(text, foreign ? "" : "5 :O");
    EXPECT_EQ(code, foreign ? 0 : NUV_E_FAIL);
    EXPECT_EQ(FlushesSinceSetUp(), 1);
  }
}

TEST_F(PreProcess, KeyAndMetaTypeHelpers) {
  NUVUnicodeString key("kept");
  EXPECT_EQ(broker.GetKey(nullptr, key), NUV_E_FAIL);
  EXPECT_STREQ(key.CastToCharPtr(), "kept");
  for (const char* name : {"Integer", "Uuid"}) EXPECT_EQ(broker.TranslateMetaTypeToEdb(name), EdbTypeInteger);
  EXPECT_EQ(broker.TranslateMetaTypeToEdb("Double"), EdbTypeDouble);
  EXPECT_EQ(broker.TranslateMetaTypeToEdb("String"), EdbTypeString);
  for (const char* name : {"integer", "", "Float"}) {
    EXPECT_EQ(broker.TranslateMetaTypeToEdb(name), EdbTypeNone) << name;
  }
}

}  // namespace
