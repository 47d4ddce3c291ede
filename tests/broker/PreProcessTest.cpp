#include "BrokerTest.h"
#include "NUVRawColldouble.h"
#include "NUVRawCollfloat.h"
#include "NUVRawCollint.h"
#include "NUVXHContext.h"
#include "TestObject.h"

namespace {

// One statement run through the broker with one parameter.
struct PreProcessCase {
  const char* title;
  NUVBaseUnknown* (*make)(BrokerTest&);
  const char* statement;
  const char* expected;
};

class PreProcess : public BrokerTest {
 protected:
  // Pre-processes the statement with the adopted parameters; the answer's
  // code goes to `code`.
  std::string Run(const std::string& statement, std::initializer_list<NUVBaseUnknown*> adopted) {
    OwnedList parameters(adopted);
    NUVUnicodeString result;
    code = broker.PreProcessSQLStatement(statement.c_str(), parameters, result);
    return result.CastToCharPtr();
  }
  long code = 0;
};

class PreProcessExample : public PreProcess, public testing::WithParamInterface<PreProcessCase> {};

NUVBaseUnknown* IntList(std::initializer_list<const char*> names, std::initializer_list<int> values,
                        const char* condition) {
  return new NUVEdbSQLData(Texts(names), Values<NUVRawCollint>(values), condition);
}

const PreProcessCase kExamples[] = {
    {"Integer", [](BrokerTest&) -> NUVBaseUnknown* { return new NUVEdbSQLData(":ID", 42); }, "WHERE·ID=:ID",
     "WHERE·ID=42"},
    {"Double", [](BrokerTest&) -> NUVBaseUnknown* { return new NUVEdbSQLData(":W", 2.5); }, "WHERE·W>:W",
     "WHERE·W>2.5"},
    {"String",
     [](BrokerTest&) -> NUVBaseUnknown* { return new NUVEdbSQLData(":N", NUVUnicodeString("ABC"), 0); },
     "WHERE·NAME=:N", "WHERE·NAME='ABC'"},
    {"Object", [](BrokerTest& t) -> NUVBaseUnknown* { return t.ObjectParameter(":OBJ", "K17"); },
     "WHERE·OID=:OBJ", "WHERE·OID=K17"},
    {"IntegerListWithoutCondition",
     [](BrokerTest&) {
       return IntList({":A", ":B"}, {1, 2}, "");
     },
     "WHERE·ID·IN·(:A,:B)", "WHERE·ID·IN·(1,2)"},
    {"StringListOr",
     [](BrokerTest&) -> NUVBaseUnknown* {
       return new NUVEdbSQLData(Texts({"NAME="}), Texts({"A", "B"}), "OR");
     },
     "WHERE·NAME=", "WHERE··(··NAME='A'·OR··NAME='B'·)·"},
    {"IntegerListBar",
     [](BrokerTest&) {
       return IntList({"ID="}, {1, 2, 3}, "|");
     },
     "WHERE·ID=", "WHERE··(··ID=1·^|^··ID=2·^|^··ID=3·)·"},
    {"DoubleListPercentOneItem",
     [](BrokerTest&) -> NUVBaseUnknown* {
       return new NUVEdbSQLData(Texts({"X="}), Values<NUVRawColldouble>({0.5}), "%");
     },
     "WHERE·X=", "WHERE··(··X=0.5·)·"},
    {"FloatUnchanged", [](BrokerTest&) -> NUVBaseUnknown* { return new NUVEdbSQLData(":F", 1.5F); },
     "WHERE·F=:F", "WHERE·F=:F"},
};

TEST_P(PreProcessExample, GivesTheDocumentedText) {
  const PreProcessCase& example = GetParam();
  EXPECT_EQ(Run(Spaced(example.statement), {example.make(*this)}), Spaced(example.expected));
  EXPECT_GE(code, 0);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, PreProcessExample, testing::ValuesIn(kExamples),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(PreProcess, EmptyStatementLeavesTheResultUntouched) {
  OwnedList parameters{new NUVEdbSQLData(":ID", 1)};
  NUVUnicodeString result("kept");
  EXPECT_GE(broker.PreProcessSQLStatement("", parameters, result), 0);
  EXPECT_STREQ(result.CastToCharPtr(), "kept");
}

TEST_F(PreProcess, NoParametersGiveTheStatementItself) {
  EXPECT_EQ(Run("SELECT :ID", {}), "SELECT :ID");
  EXPECT_GE(code, 0);
}

TEST_F(PreProcess, StringsGoInTheirStoredFormWithNothingEscaped) {
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {{"O'Neil", "N='O%27Neil'"}, {"A B", "N='A%20B'"}, {"", "N=''"}, {"50%", "N='50%25'"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Run("N=:N", {new NUVEdbSQLData(":N", NUVUnicodeString(c.value), 0)}), c.expected) << c.value;
  }
}

TEST_F(PreProcess, UnusableEntriesAreSkippedAndTheRestSubstituted) {
  const std::string result = Run(
      ":F :FL :E :X :Y :ID",
      {nullptr, new TestObject, new NUVEdbAnyData(5), new NUVEdbSQLData(":F", 1.5F),
       new NUVEdbSQLData(Texts({":FL"}), Values<NUVRawCollfloat>({1.5F}), ""),
       new NUVEdbSQLData(":E", NUVUnicodeString("e"), 1), new NUVEdbSQLData("", 3), IntList({":L"}, {}, "OR"),
       new NUVEdbSQLData(":X", static_cast<const IUnknown*>(nullptr)), new NUVEdbSQLData(":ID", 42)});
  EXPECT_EQ(result, ":F :FL :E :X :Y 42");
  EXPECT_GE(code, 0);
}

TEST_F(PreProcess, JoiningWords) {
  const struct {
    const char* condition;
    const char* expected;
  } cases[] = {{"|", " (  X=1 ^|^  X=2 ) "},
               {"!", " (  X=1 ^!^  X=2 ) "},
               {"%", " (  X=1 ^%^  X=2 ) "},
               {"OR", " (  X=1 OR  X=2 ) "},
               {"||", " (  X=1 ||  X=2 ) "}};
  for (const auto& c : cases) {
    EXPECT_EQ(Run("X=", {IntList({"X="}, {1, 2}, c.condition)}), c.expected) << c.condition;
  }
}

TEST_F(PreProcess, NamesMatchAsPlainSubstringsEverywhere) {
  EXPECT_EQ(Run(":ID2 :ID :ID", {new NUVEdbSQLData(":ID", 1)}), "12 1 1");
  EXPECT_EQ(Run(":A", {new NUVEdbSQLData(":A", NUVUnicodeString("x:B"), 0), new NUVEdbSQLData(":B", 7)}),
            "'x7'");
}

TEST_F(PreProcess, ObjectKeyFailureKeepsThePlaceholderAndStops) {
  host->objects.failAt = 1;
  EXPECT_EQ(Run(":N :OBJ :ID",
                {new NUVEdbSQLData(":N", 5), ObjectParameter(":OBJ", "K1"), new NUVEdbSQLData(":ID", 42)}),
            "5 :OBJ :ID");
  EXPECT_EQ(code, NUV_E_FAIL);
}

TEST_F(PreProcess, ListItemThatCannotBeReadIsLeftOutAndStops) {
  EXPECT_EQ(Run("(:A,:B,:C) :D", {IntList({":A", ":B"}, {1, 2, 3}, ""), new NUVEdbSQLData(":D", 4)}),
            "(1,2,:C) :D");
  EXPECT_LT(code, 0);
}

TEST_F(PreProcess, ObjectLists) {
  const struct {
    const char* title;
    const char* condition;
    int failKeyAt;
    const char* statement;
    const char* expected;
    bool fails;
  } cases[] = {
      {"without condition", "", 0, "(:P,:Q)", "(K1,K2)", false},
      {"with condition", "OR", 0, "ID=", " (  ID=K1 OR  ID=K2 ) ", false},
      {"first key unreadable", "OR", 1, "ID=", " (  ID=K2 ) ", true},
      {"second key unreadable", "", 2, "(:P,:Q)", "(K1,:Q)", true},
  };
  for (const auto& c : cases) {
    host->objects.Reset();
    host->objects.failAt = c.failKeyAt;
    const auto names = c.condition[0] ? std::initializer_list<const char*>{"ID="}
                                      : std::initializer_list<const char*>{":P", ":Q"};
    EXPECT_EQ(Run(c.statement, {ObjectListParameter(names, {"K1", "K2"}, c.condition)}), c.expected)
        << c.title;
    EXPECT_EQ(code < 0, c.fails) << c.title;
  }
}

TEST_F(PreProcess, ObjectListItemWithoutTheSystemObjectInterfaceIsLeftOut) {
  NUVIUnknownList* objects = HostObjectList(*host, "PART", {"K1"});
  auto* foreign = new TestObject;
  objects->Add(1, static_cast<TestSecond*>(foreign));
  foreign->Release();
  auto* parameter = new NUVEdbSQLData(Texts({"ID="}), objects, "OR");
  objects->Release();
  EXPECT_EQ(Run("ID=", {parameter}), " (  ID=K1 ) ");
  EXPECT_LT(code, 0);
}

TEST_F(PreProcess, PlatformErrorInTheHostIsFlushedOnce) {
  host->objects.raiseAt = 1;
  EXPECT_EQ(Run(":N :OBJ", {new NUVEdbSQLData(":N", 5), ObjectParameter(":OBJ", "K1")}), "5 :OBJ");
  EXPECT_EQ(code, NUV_E_FAIL);
  EXPECT_EQ(FlushesSinceSetUp(), 1);
}

TEST_F(PreProcess, ForeignErrorReachesTheCallersFrame) {
  host->objects.raiseAt = 1;
  host->wide.raiseForeign = true;
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { Run(":OBJ", {ObjectParameter(":OBJ", "K1")}); }));
  EXPECT_NE(frame.GetError(), nullptr);
  EXPECT_EQ(FlushesSinceSetUp(), 0);
}

TEST_F(PreProcess, GetKey) {
  NUVUnicodeString key("kept");
  EXPECT_EQ(broker.GetKey(nullptr, key), NUV_E_FAIL);
  EXPECT_STREQ(key.CastToCharPtr(), "kept");
  NUVIEdbSysObject* object = Object("PART", "K2");
  EXPECT_EQ(broker.GetKey(object, key), NUV_S_OK);
  EXPECT_STREQ(key.CastToCharPtr(), "K2");
  host->objects.failAt = 2;
  EXPECT_EQ(broker.GetKey(object, key), NUV_E_FAIL);
  object->Release();
}

TEST_F(PreProcess, TranslateMetaTypeToEdb) {
  const struct {
    const char* name;
    NUVEdbObjAttrType type;
  } cases[] = {{"Integer", EdbTypeInteger}, {"Uuid", EdbTypeInteger}, {"Double", EdbTypeDouble},
               {"String", EdbTypeString},   {"integer", EdbTypeNone}, {"", EdbTypeNone},
               {"Float", EdbTypeNone}};
  for (const auto& c : cases) EXPECT_EQ(broker.TranslateMetaTypeToEdb(c.name), c.type) << c.name;
}

}  // namespace
