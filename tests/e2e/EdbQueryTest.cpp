#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ProcessRun.h"
#include "TempDirectory.h"

namespace {

using Arguments = std::vector<std::string>;

// Every run checks that edbquery leaves no base object alive.
ProcessResult Edbquery(const Arguments& arguments, const std::string& input = "") {
  return RunProcess(EDBQUERY_PATH, arguments, input, {"EDBQUERY_CHECK_LIVE_OBJECTS=1"});
}

// One sample database for the suite, written by --init in a directory of
// its own; the queries only read it.
class EdbqueryTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = std::make_unique<TempDirectory>();
    const ProcessResult init = Edbquery({"--init", Database()});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    ASSERT_EQ(init.out, "");
  }
  static void TearDownTestSuite() { directory_.reset(); }

  static std::string Database() { return directory_->File("sample.db"); }
  static std::string File(const std::string& name) { return directory_->File(name); }
  // A run on the suite's database.
  static ProcessResult Query(Arguments arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--db", Database()});
    return Edbquery(arguments, input);
  }
  static void ExpectSuccess(const ProcessResult& result, const std::string& out) {
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, out);
  }

 private:
  static std::unique_ptr<TempDirectory> directory_;
};

std::unique_ptr<TempDirectory> EdbqueryTest::directory_;

// A case of a table: a name, the arguments, the input, and what is expected.
struct Case {
  Case(const char* name, Arguments arguments, std::string expected, int exitCode = 0, std::string input = "")
      : name(name),
        arguments(std::move(arguments)),
        expected(std::move(expected)),
        exitCode(exitCode),
        input(std::move(input)) {}
  const char* name;
  Arguments arguments;
  std::string expected;  // stdout on success, a part of the message on failure
  int exitCode;
  std::string input;
};

void PrintTo(const Case& test, std::ostream* out) { *out << test.name; }

std::string CaseName(const testing::TestParamInfo<Case>& info) { return info.param.name; }

class EdbqueryCase : public EdbqueryTest, public testing::WithParamInterface<Case> {};

// --- One query with parameters and bindings in every format ---------------

const Arguments kProducts = {"--string-list",
                             ":A,:B",
                             "PR2,PR3",
                             "--out",
                             "string",
                             "PRODUCT",
                             "ID",
                             "--out",
                             "string",
                             "PRODUCT",
                             "NAME",
                             "--out",
                             "int",
                             "PRODUCT",
                             "RELEASED",
                             "--out",
                             "string",
                             "QUERY",
                             "NOTE",
                             "SELECT ID, NAME, RELEASED, 'a,b \"c\"' AS NOTE FROM PRODUCT "
                             "WHERE ID IN (:A, :B) ORDER BY ID"};

Arguments With(Arguments arguments, const Arguments& more) {
  arguments.insert(arguments.begin(), more.begin(), more.end());
  return arguments;
}

using Formats = EdbqueryCase;
TEST_P(Formats, PrintsTheRows) { ExpectSuccess(Query(GetParam().arguments), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Edbquery, Formats,
    testing::Values(
        Case{"Table", kProducts,
             "ID   NAME                RELEASED  NOTE\n"
             "---  ------------------  --------  -------\n"
             "PR2  Valve block                   a,b \"c\"\n"
             "PR3  O'Brien's test rig  2023      a,b \"c\"\n"},
        Case{"Csv", With(kProducts, {"--format", "csv"}),
             "ID,NAME,RELEASED,NOTE\n"
             "PR2,Valve block,,\"a,b \"\"c\"\"\"\n"
             "PR3,O'Brien's test rig,2023,\"a,b \"\"c\"\"\"\n"},
        Case{"JsonLines", With(kProducts, {"--format", "json"}),
             "{\"ID\":\"PR2\",\"NAME\":\"Valve block\",\"RELEASED\":null,\"NOTE\":\"a,b \\\"c\\\"\"}\n"
             "{\"ID\":\"PR3\",\"NAME\":\"O'Brien's test rig\",\"RELEASED\":2023,"
             "\"NOTE\":\"a,b \\\"c\\\"\"}\n"},
        Case{"UnboundColumnsAsRead",
             {"--format", "json", "SELECT NAME, MASS, QTY FROM PART WHERE ID = 'P3'"},
             "{\"NAME\":\"Shaft seal\",\"MASS\":0.015,\"QTY\":2}\n"},
        Case{"JsonEscapesControlsAndBadUtf8",
             {"--format", "json", "SELECT 'tab' || char(9) || 'é' || CAST(X'FF' AS TEXT) AS T"},
             "{\"T\":\"tab\\té\\ufffd\"}\n"},
        Case{"CsvQuotesLineBreaks",
             {"--format", "csv", "SELECT 'two' || char(10) || 'lines' AS T"},
             "T\n\"two\nlines\"\n"},
        Case{"TableShowsLineBreaks",
             {"SELECT 'two' || char(10) || 'lines' AS T"},
             "T\n----------\ntwo\\nlines\n"}),
    CaseName);

// --- Every kind of parameter ----------------------------------------------

using Parameters = EdbqueryCase;
TEST_P(Parameters, SelectTheirRows) {
  ExpectSuccess(Query(With(GetParam().arguments, {"--format", "csv"})), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edbquery, Parameters,
    testing::Values(
        Case{"Int", {"--int", ":Q", "12", "SELECT ID FROM PART WHERE QTY = :Q"}, "ID\nP6\n"},
        Case{"NegativeInt", {"--int", ":Q", "-3", "SELECT :Q AS V"}, "V\n-3\n"},
        Case{"Double",
             {"--double", ":M", "2.5", "SELECT ID FROM PART WHERE MASS > :M ORDER BY ID"},
             "ID\nP1\nP8\n"},
        Case{"StringWithBlankAndApostrophe",
             {"--string", ":N", "Operator's panel", "SELECT ID FROM PART WHERE NAME = :N"},
             "ID\nP8\n"},
        Case{"StringWithPercent", {"--string", ":S", "100% sure", "SELECT :S AS V"}, "V\n100% sure\n"},
        Case{"Object",
             {"--object", ":PR", "PRODUCT", "PR3", "SELECT ID FROM PART WHERE PRODUCT = ':PR'"},
             "ID\nP7\n"},
        Case{"IntList",
             {"--int-list", ":A,:B", "2,12", "SELECT ID FROM PART WHERE QTY IN (:A, :B) ORDER BY ID"},
             "ID\nP2\nP3\nP6\n"},
        Case{"IntListWithCondition",
             {"--int-list", "QTY=", "2,12", "--cond", "OR", "SELECT ID FROM PART WHERE QTY= ORDER BY ID"},
             "ID\nP2\nP3\nP6\n"},
        Case{"DoubleListWithCondition",
             {"--double-list", "MASS=", "0.42,1.9", "--cond", "OR",
              "SELECT ID FROM PART WHERE MASS= ORDER BY ID"},
             "ID\nP2\nP4\n"},
        Case{"StringList",
             {"--string-list", ":A,:B", "Steel 8.8,FKM",
              "SELECT ID FROM PART WHERE MATERIAL IN (:A, :B) ORDER BY ID"},
             "ID\nP3\nP6\n"},
        Case{"StringListEscapedComma", {"--string-list", ":A", "a\\,b", "SELECT :A AS V"}, "V\n\"a,b\"\n"},
        Case{"StringListWithCondition",
             {"--string-list", "P.MATERIAL=", "Cast iron,FKM", "--cond", "OR",
              "SELECT ID FROM PART P WHERE P.MATERIAL= ORDER BY ID"},
             "ID\nP1\nP3\n"},
        Case{"ObjectList",
             {"--object-list", ":X,:Y", "PRODUCT", "PR2,PR3",
              "SELECT ID FROM PART WHERE PRODUCT IN (':X', ':Y') ORDER BY ID"},
             "ID\nP4\nP5\nP6\nP7\n"},
        Case{"StatementAfterDoubleDash", {"--", "-- a comment\nSELECT 1 AS V"}, "V\n1\n"}),
    CaseName);

// --- Object and object-list outputs ---------------------------------------

TEST_F(EdbqueryTest, ObjectOutputsPrintKeysAndNullsEmpty) {
  // P1 has two documents, P7 none (null after a row with a list), P8 no
  // product; PR9 names no object.
  ExpectSuccess(
      Query({"--format", "csv", "--out", "string", "PART", "ID", "--out", "object", "PRODUCT", "PRODUCT",
             "--out", "objects", "DOCUMENT", "DOCS", "--out", "object", "PRODUCT", "GHOST",
             "SELECT ID, PRODUCT, 'PR9' AS GHOST, (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT D "
             "WHERE D.PART = P.ID) AS DOCS FROM PART P WHERE ID IN ('P1', 'P7', 'P8') ORDER BY ID"}),
      "ID,PRODUCT,DOCS,GHOST\nP1,PR1,D1+D2,\nP7,PR3,,\nP8,,,\n");
}

TEST_F(EdbqueryTest, BoundColumnsWithoutRowsPrintTheHeaderOnly) {
  ExpectSuccess(Query({"--format", "csv", "--out", "int", "PART", "QTY", "SELECT QTY FROM PART WHERE 0"}),
                "QTY\n");
}

// --- --explain ------------------------------------------------------------

using Explain = EdbqueryCase;
TEST_P(Explain, PrintsTheFinishedStatementAndRunsNothing) {
  ExpectSuccess(Query(With(GetParam().arguments, {"--explain"})), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edbquery, Explain,
    testing::Values(
        Case{"WithBindings",
             {"--int", ":Q", "2", "--object", ":P", "PRODUCT", "PR1", "--out", "string", "PART", "ID",
              "--out", "int", "PART", "QTY", "SELECT ID, QTY FROM PART WHERE QTY=:Q AND PRODUCT=':P'"},
             "statement: SELECT ID, QTY FROM PART WHERE QTY=2 AND PRODUCT='PR1'\ncolumns: ID, QTY\n"},
        Case{"StringsAreEncoded",
             {"--string", ":S", "O'Neil 5%", "SELECT :S"},
             "statement: SELECT 'O%27Neil%205%25'\ncolumns: every column of the answer\n"},
        Case{"ConditionJoinsTheItems",
             {"--string-list", "M=", "a,b", "--cond", "OR", "SELECT 1 WHERE M="},
             "statement: SELECT 1 WHERE  (  M='a' OR  M='b' ) \ncolumns: every column of the answer\n"},
        Case{"RefusedStatementIsNotRun",
             {"DELETE FROM NOWHERE"},
             "statement: DELETE FROM NOWHERE\ncolumns: every column of the answer\n"}),
    CaseName);

// --- Where the statement comes from -----------------------------------------

TEST_F(EdbqueryTest, StatementFromFileAndFromStandardInput) {
  const std::string statement = "SELECT NAME FROM PRODUCT\nWHERE ID = :ID";
  const std::string path = File("statement.sql");
  std::ofstream(path) << statement;
  const std::string expected = "NAME\nValve block\n";
  ExpectSuccess(Query({"--format", "csv", "--string", ":ID", "PR2", "-f", path}), expected);
  ExpectSuccess(Query({"--format", "csv", "--string", ":ID", "PR2", "-"}, statement), expected);
}

TEST_F(EdbqueryTest, BuiltInSampleWithoutDatabaseOption) {
  ExpectSuccess(Edbquery({"--format", "csv", "SELECT COUNT(*) AS N FROM PART"}), "N\n8\n");
}

TEST_F(EdbqueryTest, HelpAndVersion) {
  ExpectSuccess(Edbquery({"--version"}), "edbquery 0.1.0\n");
  const ProcessResult help = Edbquery({"--help", "--bogus"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--object-list NAMES CLASS KEYS"), std::string::npos);
}

// --- Bad input: one line on stderr, nothing on stdout -------------------------

using BadInput = EdbqueryCase;
TEST_P(BadInput, FailsWithOneLineAndNoOutput) {
  const ProcessResult result = Edbquery(GetParam().arguments, GetParam().input);
  EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("edbquery: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(GetParam().expected), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

constexpr int kUsage = 2;
constexpr int kDatabase = 1;

INSTANTIATE_TEST_SUITE_P(
    Edbquery, BadInput,
    testing::Values(
        Case{"UnknownOption", {"--bogus", "SELECT 1"}, "unknown option --bogus", kUsage},
        Case{"OptionWithLineBreakStaysOneLine",
             {"--bo\ngus", "SELECT 1"},
             "unknown option --bo\\ngus",
             kUsage},
        Case{"MissingArgument",
             {"SELECT 1", "--object", ":P", "PART"},
             "--object needs NAME CLASS KEY",
             kUsage},
        Case{"NoStatement", {"--int", ":A", "1"}, "no statement given", kUsage},
        Case{"TwoStatements", {"SELECT 1", "SELECT 2"}, "more than one statement", kUsage},
        Case{"BlankStatement", {" \n"}, "the statement is empty", kUsage},
        Case{"EmptyParameterName", {"--string", "", "x", "SELECT 1"}, "non-empty NAME", kUsage},
        Case{"UnknownOutputType",
             {"--out", "float", "PART", "MASS", "SELECT 1"},
             "unknown TYPE 'float'",
             kUsage},
        Case{"BindingWithoutClass",
             {"--out", "int", "", "QTY", "SELECT 1"},
             "non-empty CLASS and ATTR",
             kUsage},
        Case{"AttributeBoundTwice",
             {"--out", "int", "PART", "QTY", "--out", "string", "PART", "QTY", "SELECT 1"},
             "attribute QTY bound twice",
             kUsage},
        Case{"BindingWithoutColumn",
             {"--out", "int", "PART", "QTY", "SELECT ID FROM PART"},
             "no column QTY",
             kUsage},
        Case{"IntDoesNotParse", {"--int", ":A", "12x", "SELECT 1"}, "'12x' is not an integer", kUsage},
        Case{"IntWithBlank", {"--int", ":A", " 1", "SELECT 1"}, "is not an integer", kUsage},
        Case{"IntOverflow", {"--int", ":A", "2147483648", "SELECT 1"}, "outside the int range", kUsage},
        Case{"IntUnderflow", {"--int", ":A", "-2147483649", "SELECT 1"}, "outside the int range", kUsage},
        Case{"ListItemDoesNotParse",
             {"--int-list", ":A,:B", "1,x", "SELECT 1"},
             "'x' is not an integer",
             kUsage},
        Case{"DoubleDoesNotParse", {"--double", ":M", "1.5kg", "SELECT 1"}, "is not a finite number", kUsage},
        Case{"DoubleNotFinite", {"--double", ":M", "nan", "SELECT 1"}, "is not a finite number", kUsage},
        Case{"DoubleOverflow",
             {"--double-list", ":M", "1e999", "SELECT 1"},
             "outside the double range",
             kUsage},
        Case{"NamesAndValuesDiffer", {"--int-list", ":A,:B", "1", "SELECT 1"}, "2 names for 1 value", kUsage},
        Case{"ConditionWithTwoNames",
             {"--string-list", ":A,:B", "x,y", "--cond", "OR", "SELECT 1"},
             "with --cond give one name",
             kUsage},
        Case{"ConditionAfterScalar",
             {"--int", ":A", "1", "--cond", "OR", "SELECT 1"},
             "--cond must follow",
             kUsage},
        Case{"UnknownFormat", {"--format", "xml", "SELECT 1"}, "unknown format 'xml'", kUsage},
        Case{"MissingStatementFile", {"-f", "/nonexistent/q.sql"}, "cannot read statement file", kUsage},
        Case{"MissingDatabaseFile", {"--db", "/nonexistent/x.db", "SELECT 1"}, "no database file", kDatabase},
        Case{"StatementRefused", {"SELEC 1"}, "near \"SELEC\": syntax error", kDatabase},
        Case{"UnknownTable", {"SELECT * FROM NOWHERE"}, "no such table: NOWHERE", kDatabase},
        Case{"TextWithTwoStatements", {"SELECT 1; SELECT 2"}, "more than one statement", kDatabase},
        Case{"RefusedFromStandardInput", {"-"}, "syntax error", kDatabase, "SELEC 1"},
        Case{"IntegerBeyond32Bits", {"SELECT 3000000000 AS N"}, "does not fit 32 bits", kDatabase},
        Case{"ObjectKeyNotFound",
             {"--object", ":P", "PRODUCT", "PR9", "SELECT 1"},
             "no PRODUCT with key 'PR9'",
             kDatabase},
        Case{"KeyWithLineBreakStaysOneLine",
             {"--object", ":P", "PRODUCT", "P\nR", "SELECT 1"},
             "key 'P\\nR'",
             kDatabase},
        Case{"ObjectClassWithoutKey",
             {"--object-list", ":P", "NOWHERE", "K1", "SELECT 1"},
             "NOWHERE is not a table",
             kDatabase}),
    CaseName);

TEST_F(EdbqueryTest, InitRefusesAnExistingFile) {
  const ProcessResult result = Edbquery({"--init", Database()});
  EXPECT_EQ(result.exitCode, kDatabase);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("exists already"), std::string::npos) << result.err;
}

}  // namespace
