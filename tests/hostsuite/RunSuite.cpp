// What every host that runs statements does the same way: the cells of
// each kind of value, NULL, integers beyond 32 bits, bytes, headers, one
// statement per text, parameters left in a statement, batches, texts with
// blanks and apostrophes, and the empty text apart from NULL.
#include <tuple>

#include "FinishedStatement.h"
#include "HostRunner.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "NUVRefList.h"
#include "TestLists.h"

namespace {

// Each cell of the table as "type:text", or "type" alone when it gives no
// text; cells joined by " ", rows by "|".
std::string TypesAndTexts(NUVEdbResultTable& table) {
  int rows = 0;
  table.GetNumberOfRows(rows);
  std::string described;
  for (int n = 1; n <= rows; ++n) {
    NUVRefList cells;
    table.GetRow(n, cells.get());
    if (n > 1) described += "|";
    for (int i = 1; i <= cells.Size(); ++i) {
      const auto& cell = static_cast<const NUVEdbResultTabData&>(*cells.get()[i]);
      NUVEdbObjAttrType type = EdbTypeNone;
      cell.GetType(type);
      if (i > 1) described += " ";
      described += std::to_string(type);
      NUVUnicodeString text;
      if (cell.GetData(text, 1) >= 0) described += ":" + std::string(text.View());
    }
  }
  return described;
}

TEST_P(HostSuite, ValuesBecomeCellsByTheirType) {
  NUV_NEEDS_STATEMENTS();
  // A cell as the host names it: its class, its attribute, "type=value".
  const auto cell = [&](const std::string& classType, const char* attribute, const std::string& value) {
    return classType + "." + run.Name(attribute) + ":" + value;
  };
  const std::string part = run.Name("PART");
  const auto sample = [&](const char* text) -> std::string {
    if (host->ReadsSampleTextsAsWritten()) return text;
    return NUVEdsGeneralTool().EncodeBlanks(text).CastToCharPtr();
  };
  const std::pair<const char*, std::string> cases[] = {
      {"SELECT ID, NAME, MASS, QTY FROM PART WHERE ID = 'P1'",
       cell(part, "ID", "3=P1 ") + cell(part, "NAME", "3=" + sample("Pump housing") + " ") +
           cell(part, "MASS", "16=2.75 ") + cell(part, "QTY", "1=1")},
      {"SELECT MASS FROM PART WHERE ID = 'P7'", cell(part, "MASS", "0=")},
      {"SELECT NAME FROM PART WHERE ID = 'P8'", cell(part, "NAME", "3=" + sample("Operator's panel"))},
      {"SELECT CHECKSUM FROM DOCUMENT WHERE DOCNO = 'D5'", cell(run.Name("DOCUMENT"), "CHECKSUM", "3=00FF")},
      {"SELECT 3000000000 AS BIG", cell("QUERY", "BIG", "3=3000000000")},
      {"SELECT -2147483648 AS SMALL", cell("QUERY", "SMALL", "1=-2147483648")},
      {"SELECT ID FROM PART WHERE QTY > 100", "<no row>"},
  };
  for (const auto& [statement, row] : cases) EXPECT_EQ(run.LastRow(statement), row) << statement;
}

TEST_P(HostSuite, RefusesWhatMustNotRunWithTheSameMessage) {
  NUV_NEEDS_STATEMENTS();
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT 1; DELETE FROM PART", "the text holds more than one statement"},
      {"SELECT ID FROM PART WHERE QTY = :qty",
       "the statement holds the parameter :qty, which no value replaced"},
  };
  const std::string parts = run.LastRow("SELECT COUNT(*) AS N FROM PART");
  // The message after the error's catalog and identifier.
  for (const auto& [statement, reason] : cases) {
    const std::string refusal = run.Refusal(statement);
    EXPECT_EQ(refusal.substr(refusal.find(": ") + 2), reason) << statement;
  }
  EXPECT_EQ(run.LastRow("SELECT COUNT(*) AS N FROM PART"), parts);
}

// A header gives its attribute name, class type and type where the value
// converts to it exactly; any other value keeps its own type, so that no
// reader gets 2 for 2.7.
TEST_P(HostSuite, HeaderTypesNeverConvertLossily) {
  NUV_NEEDS_STATEMENTS();
  OwnedList headers{new NUVEdbResultTabHdr("PART", "I", EdbTypeInteger),
                    new NUVEdbResultTabHdr("PART", "D", EdbTypeDouble),
                    new NUVEdbResultTabHdr("PART", "QTY", EdbTypeDouble),
                    new NUVEdbResultTabHdr("PART", "MASS", EdbTypeInteger),
                    new NUVEdbResultTabHdr("WORKPACKAGE", "PARTS", EdbTypeObjectList)};
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT QTY, MASS FROM PART WHERE ID = 'P6'", "PART.QTY:16=12 PART.MASS:16=0.012"},
      {"SELECT PARTS FROM WORKPACKAGE WHERE WPID = 'WP1'", "WORKPACKAGE.PARTS:3=P1+P2+P3"},
      {"SELECT 2.0 AS I, 5 AS D", "PART.I:1=2 PART.D:16=5"},
      {"SELECT 2.7 AS I, 9007199254740993 AS D", "PART.I:16=2.7 PART.D:3=9007199254740993"},
      {"SELECT 'abc' AS I, 'x' AS D", "PART.I:3=abc PART.D:3=x"},
      {"SELECT 3000000000 AS I, -9007199254740992 AS D", "PART.I:3=3000000000 PART.D:16=-9.0072e+15"},
      {"SELECT 1e10 AS I, NULL AS D", "PART.I:16=1e+10 PART.D:0="},
  };
  for (const auto& [statement, row] : cases)
    EXPECT_EQ(run.LastRow(statement, &headers.get()), row) << statement;
}

// Every batch carries the answer's columns; no row is lost or repeated; a
// batch must hold at least one row.
TEST_P(HostSuite, SplitsTheAnswerIntoBatchesOfTheSize) {
  NUV_NEEDS_STATEMENTS();
  const std::string seven =
      "SELECT ID FROM PART WHERE ID IN ('P1', 'P2', 'P3', 'P4', 'P5', 'P6', 'P7') ORDER BY ID";
  const std::tuple<std::string, size_t, const char*> cases[] = {
      {seven, 3, "[3:P1|3:P2|3:P3][3:P4|3:P5|3:P6][3:P7]"},
      {seven, 100, "[3:P1|3:P2|3:P3|3:P4|3:P5|3:P6|3:P7]"},
      {"SELECT ID FROM PART WHERE 1 = 0", 3, "[]"},
  };
  std::string joined;
  const auto consumer = [&](NUVEdbResultTable& batch) {
    NUVRefList headers;
    batch.GetHeader(headers.get());
    NUVUnicodeString name;
    if (headers.Size() == 1) static_cast<const NUVEdbResultTabHdr*>(headers.get()[1])->GetAttrName(name);
    EXPECT_EQ(std::string(name.View()), run.Name("ID"));
    joined += "[" + TypesAndTexts(batch) + "]";
    return 0L;
  };
  for (const auto& [statement, size, expected] : cases) {
    joined.clear();
    ASSERT_GE(host->RunInBatches(statement.c_str(), size, consumer, nullptr), 0) << size;
    EXPECT_EQ(joined, expected) << size;
  }
  EXPECT_LT(host->RunInBatches(seven.c_str(), 0, consumer, nullptr), 0);
}

// Values that would end a literal, start a comment or a second statement,
// if they reached the statement as they are: each reads back as given, and
// each item of a list matches exactly its own row.
TEST_P(HostSuite, StringValuesAndListItemsStayOneLiteral) {
  NUV_NEEDS_STATEMENTS();
  const char* const hostile[] = {"O'Neil",      "'); DELETE FROM PART; --",
                                 "' OR '1'='1", "''",
                                 "%27",         "%",
                                 "a b",         "--",
                                 "/* x */",     "\"quoted\"",
                                 "\\",          "tab\there",
                                 "line\nbreak", "",
                                 "Größe ÷ 2",   "'"};
  const std::string parts = run.LastValues("SELECT COUNT(*) FROM PART");
  NUVListValNUVUnicodeString values;
  for (const char* value : hostile) {
    values.Append(value);
    const std::string statement =
        FinishedStatement("SELECT :S", {new NUVEdbSQLData(":S", NUVUnicodeString(value), 0)});
    EXPECT_EQ(run.LastValues(statement, 0), NUVEdsGeneralTool().EncodeBlanks(value).CastToCharPtr()) << value;
    EXPECT_EQ(run.LastValues(statement, 1), value);
  }
  const std::string statement = FinishedStatement(
      "SELECT COUNT(*) FROM (SELECT :A AS V UNION ALL SELECT :B AS V) AS T WHERE V=",
      {new NUVEdbSQLData(":A", NUVUnicodeString("O'Neil"), 0),
       new NUVEdbSQLData(":B", NUVUnicodeString("--"), 0), new NUVEdbSQLData(Texts({"V="}), values, "OR")});
  EXPECT_EQ(run.LastValues(statement), "2") << statement;
  EXPECT_EQ(run.LastValues("SELECT COUNT(*) FROM PART"), parts);
}

}  // namespace

// An empty text and NULL stay apart on every host, whoever wrote them (the
// author's SQL or a value the library wrote) and however they are read
// (whole, in batches, under a header asking for a text or a number): ''
// is a text cell holding nothing, NULL a cell of no type that gives no text.
TEST_P(HostSuite, EmptyTextIsNotNull) {
  NUV_NEEDS_STATEMENTS();
  ASSERT_EQ(run.Refusal("CREATE TABLE E (ID INTEGER PRIMARY KEY, T VARCHAR(8))"), "");
  ASSERT_EQ(run.Refusal("INSERT INTO E VALUES (1, ''), (2, NULL)"), "");
  ASSERT_EQ(run.Refusal(FinishedStatement("INSERT INTO E VALUES (3, :S)",
                                          {new NUVEdbSQLData(":S", NUVUnicodeString(""), 0)})),
            "");
  ASSERT_EQ(run.Refusal(FinishedStatement("INSERT INTO E SELECT 4, T FROM E WHERE ID = 1 AND T=",
                                          {new NUVEdbSQLData(Texts({"T="}), Texts({""}), "OR")})),
            "");
  EXPECT_EQ(run.LastValues("SELECT COUNT(*) FROM E WHERE T IS NULL"), "1");
  EXPECT_EQ(run.LastValues("SELECT COUNT(*) FROM E WHERE T = ''"), "3");

  const char* const statement = "SELECT T, '' AS L, NULL AS N FROM E ORDER BY ID";
  const std::string expected = "3: 3: 0|0 3: 0|3: 3: 0|3: 3: 0";
  NUVEdbResultTable whole;
  ASSERT_GE(host->Run(statement, whole), 0);
  EXPECT_EQ(TypesAndTexts(whole), expected);
  // In batches of one row without headers, of two under each header type.
  for (const NUVEdbObjAttrType type : {EdbTypeNone, EdbTypeString, EdbTypeInteger, EdbTypeDouble}) {
    OwnedList headers{new NUVEdbResultTabHdr("E", "T", type), new NUVEdbResultTabHdr("E", "L", type),
                      new NUVEdbResultTabHdr("E", "N", type)};
    const NUVListPtrNUVBaseUnknown* given = type == EdbTypeNone ? nullptr : &headers.get();
    std::string read;
    const auto take = [&](NUVEdbResultTable& batch) {
      read += (read.empty() ? "" : "|") + TypesAndTexts(batch);
      return 0L;
    };
    ASSERT_GE(host->RunInBatches(statement, given ? 2 : 1, take, given), 0);
    EXPECT_EQ(read, expected) << "header type " << type;
  }
}
