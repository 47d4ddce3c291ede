#include <thread>
#include <utility>
#include <vector>

#include "BrokerTest.h"
#include "NUVEdbStatementProvenance.h"
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

// A statement, its parameters and what they give, run with the n-th read
// of an object's key failing.
struct Case {
  const char* statement;
  std::vector<NUVBaseUnknown*> parameters;
  const char* expected;
  long code = NUV_S_OK;
  int failKeyAt = 0;
};

TEST_F(PreProcess, Substitutes) {
  const Case cases[] = {
      {"SELECT :ID", {}, "SELECT :ID"},
      // Names match as plain substrings, also inside values written before.
      {":ID2 :ID :ID", {Int(":ID", 1)}, "12 1 1"},
      {":A", {Str(":A", "x:B"), Int(":B", 7)}, "'x7'"},
      // With a condition, one expression replaces the name.
      {"N=", {new NUVEdbSQLData(Texts({"N="}), Texts({"A", "B"}), "OR")}, " (  N='A' OR  N='B' ) "},
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

TEST_F(PreProcess, KeyAndMetaTypeHelpers) {
  NUVUnicodeString key("kept");
  EXPECT_EQ(broker.GetKey(nullptr, key), NUV_E_FAIL);
  EXPECT_STREQ(key.CastToCharPtr(), "kept");
  const std::pair<const char*, NUVEdbObjAttrType> types[] = {
      {"Integer", EdbTypeInteger}, {"Uuid", EdbTypeInteger}, {"Double", EdbTypeDouble},
      {"String", EdbTypeString},   {"integer", EdbTypeNone}, {"", EdbTypeNone},
      {"Float", EdbTypeNone}};
  for (const auto& [name, type] : types) EXPECT_EQ(broker.TranslateMetaTypeToEdb(name), type) << name;
}

// Where each value text the broker wrote stands in the finished text, as
// "begin+length:form:name" (S string, N number, K key, * a list item, ! cut).
std::string Written(const std::string& text) {
  std::vector<NUVEdbWrittenValue> values;
  if (!NUVEdbStatementProvenance::Find(text, values)) return "<not finished here>";
  std::string described;
  for (const NUVEdbWrittenValue& value : values) {
    const char form = value.form == NUVEdbWrittenValue::Form::String   ? 'S'
                      : value.form == NUVEdbWrittenValue::Form::Number ? 'N'
                                                                       : 'K';
    described += (described.empty() ? "" : " ") + std::to_string(value.begin) + "+" +
                 std::to_string(value.length) + ":" + form + (value.listItem ? "*" : "") +
                 (value.cut ? "!" : "") + ":" + value.parameter;
  }
  return described;
}

TEST_F(PreProcess, RecordsWhereEachValueTextStands) {
  const Case cases[] = {
      {"WHERE ID=:ID AND W>:W", {Int(":ID", 42), new NUVEdbSQLData(":W", 2.5)}, "9+2:N::ID 18+3:N::W"},
      // A value written before its left neighbour moves along with the text.
      {":B :A :A", {Str(":A", "xyz"), Int(":B", 12345)}, "0+5:N::B 6+5:S::A 12+5:S::A"},
      {"WHERE OID=:OBJ", {ObjectParameter(":OBJ", "K17")}, "10+3:K::OBJ"},
      {"IN (:A,:B)", {IntList({":A", ":B"}, {1, 22}, "")}, "4+1:N*::A 6+2:N*::B"},
      {"WHERE NAME=",
       {new NUVEdbSQLData(Texts({"NAME="}), Texts({"A", "B"}), "OR")},
       "15+3:S*:NAME= 28+3:S*:NAME="},
      // A later name inside a value grows it; one across its end cuts it.
      {":A", {Str(":A", "x:B"), Int(":B", 7)}, "0+4:S::A 2+1:N::B"},
      {":A ", {Str(":A", "ab"), Int("b' ", 5)}, "0+4:S!::A 2+1:N:b' "},
      // A later name that covers a value whole takes its place.
      {":A", {Str(":A", "q"), Int("'q'", 9)}, "0+1:N:'q'"},
      {"SELECT 1", {}, ""},
  };
  for (const auto& c : cases) {
    const std::string text = Run(c.statement, c.parameters);
    EXPECT_EQ(Written(text), c.expected) << c.statement << " gave " << text;
  }
  // A text changed after pre-processing, or one finished on another thread,
  // is not the library's.
  const std::string text = Run("SELECT :N", {Str(":N", "a")});
  EXPECT_EQ(Written(text + " "), "<not finished here>");
  std::string elsewhere;
  std::thread([&] { elsewhere = Written(text); }).join();
  EXPECT_EQ(elsewhere, "<not finished here>");
  // The thread remembers its last 64 statements, the most recently used
  // kept longest.
  for (int n = 0; n < 64; ++n) Run(("SELECT " + std::to_string(n) + ", :N").c_str(), {Str(":N", "a")});
  EXPECT_EQ(Written("SELECT 0, 'a'"), "10+3:S::N");
  Run("SELECT 64, :N", {Str(":N", "a")});
  EXPECT_EQ(Written("SELECT 0, 'a'"), "10+3:S::N");
  EXPECT_EQ(Written("SELECT 1, 'a'"), "<not finished here>");
  NUVEdbStatementProvenance::Forget();
  EXPECT_EQ(Written("SELECT 0, 'a'"), "<not finished here>");
}

}  // namespace
