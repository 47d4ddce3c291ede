#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "SqliteHostTest.h"

namespace {

// What one cell holds, written as "CLASS.ATTR:type=value".
std::string Describe(const NUVBaseUnknown* entry) {
  const auto& cell = static_cast<const NUVEdbResultTabData&>(*entry);
  NUVUnicodeString classType;
  NUVUnicodeString attrName;
  NUVEdbObjAttrType type = EdbTypeNone;
  cell.GetClassType(classType);
  cell.GetAttrName(attrName);
  cell.GetType(type);
  std::string value;
  int number = 0;
  double real = 0;
  NUVUnicodeString text;
  if (cell.GetData(number) >= 0) value = std::to_string(number);
  if (cell.GetData(real) >= 0) value = NUVUnicodeString().BuildFromNum(real, "%g").CastToCharPtr();
  if (cell.GetData(text, 1) >= 0) value = text.CastToCharPtr();
  return std::string(classType.CastToCharPtr()) + "." + attrName.CastToCharPtr() + ":" +
         std::to_string(type) + "=" + value;
}

class QueryRunner : public SqliteHost {
 protected:
  // Every cell of row n, described and joined by " ".
  std::string Row(int n) {
    NUVListPtrNUVBaseUnknown cells;
    table->GetRow(n, cells);
    std::string row;
    for (int i = 1; i <= cells.Size(); ++i) {
      row += (i > 1 ? " " : "") + Describe(cells[i]);
      cells[i]->Release();
    }
    return row;
  }
  int Rows() const {
    int rows = 0;
    table->GetNumberOfRows(rows);
    return rows;
  }
};

TEST_F(QueryRunner, ValuesBecomeCellsByTheirType) {
  const struct {
    const char* statement;
    const char* row;
  } cases[] = {
      {"SELECT 42 AS I", "QUERY.I:1=42"},
      {"SELECT -2147483648 AS I", "QUERY.I:1=-2147483648"},
      {"SELECT 2.5 AS D", "QUERY.D:16=2.5"},
      {"SELECT 'a%20b' AS S", "QUERY.S:3=a b"},
      {"SELECT NULL AS N", "QUERY.N:0="},
      {"SELECT X'00CAFE' AS B", "QUERY.B:3=00CAFE"},
      {"SELECT ID, NAME, MASS, QTY FROM PART WHERE ID = 'P1'",
       "PART.ID:3=P1 PART.NAME:3=Pump housing PART.MASS:16=2.75 PART.QTY:1=1"},
      {"SELECT P.NAME AS PARTNAME, R.NAME FROM PART P JOIN PRODUCT R ON R.ID = P.PRODUCT WHERE P.ID = 'P2'",
       "PART.PARTNAME:3=Drive gear PRODUCT.NAME:3=Gear pump GP-40"},
      {"SELECT MASS FROM PART WHERE ID = 'P7'", "PART.MASS:0="},
  };
  for (const auto& c : cases) {
    ASSERT_GE(Run(c.statement), 0) << c.statement;
    ASSERT_EQ(Rows(), 1) << c.statement;
    EXPECT_EQ(Row(1), c.row) << c.statement;
  }
}

TEST_F(QueryRunner, HeadersGiveClassTypeAndType) {
  auto* docs = new NUVEdbResultTabHdr("DOCUMENT", "DOCS", EdbTypeObjectList);
  auto* qty = new NUVEdbResultTabHdr("PART", "QTY", EdbTypeDouble);
  NUVListPtrNUVBaseUnknown headers;
  headers.Append(docs);
  headers.Append(qty);
  ASSERT_GE(Run("SELECT (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT WHERE PART = 'P1') AS DOCS, QTY "
                "FROM PART WHERE ID = 'P6'",
                &headers),
            0);
  EXPECT_EQ(Row(1), "DOCUMENT.DOCS:3=D1+D2 PART.QTY:16=12");
  docs->Release();
  qty->Release();
}

TEST_F(QueryRunner, EveryAnswerRowBecomesARow) {
  ASSERT_GE(Run("SELECT ID FROM PART ORDER BY ID"), 0);
  EXPECT_EQ(Rows(), 8);
  EXPECT_EQ(Row(8), "PART.ID:3=P8");
  ASSERT_GE(Run("SELECT ID FROM PART WHERE 0"), 0);
  EXPECT_EQ(Rows(), 0);
}

TEST_F(QueryRunner, RefusedTextsFailWithTheirReason) {
  const struct {
    const char* statement;
    const char* reason;
  } cases[] = {
      {"SELEC 1", "syntax error"},
      {"SELECT * FROM NOSUCH", "no such table"},
      {"", "no statement"},
      {"SELECT 1; SELECT 2", "more than one statement"},
      {"SELECT 3000000000 AS BIG", "column \"BIG\" of row 1"},
      {"SELECT 1 UNION ALL SELECT -3000000000", "of row 2"},
  };
  for (const auto& c : cases) {
    const long code = Run(c.statement);
    EXPECT_LT(code, 0) << c.statement;
    EXPECT_NE(MessageOf(code).find(c.reason), std::string::npos) << c.statement << ": " << MessageOf(code);
  }
  EXPECT_GE(Run("SELECT 1; -- a comment"), 0);
}

TEST_F(QueryRunner, NothingRunsOfATextWithTwoStatements) {
  EXPECT_LT(Run("UPDATE PART SET QTY = 99; DELETE FROM PART"), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART WHERE QTY = 99"), "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8");
}

TEST_F(QueryRunner, WritesCommitOrRollBackWhole) {
  EXPECT_GE(Run("UPDATE PART SET QTY = 5 WHERE ID = 'P1'"), 0);
  EXPECT_EQ(Scalar("SELECT QTY FROM PART WHERE ID = 'P1'"), "5");
  // The update succeeds in SQLite, but its answer cannot be read back.
  EXPECT_LT(Run("UPDATE PART SET QTY = 3000000000 WHERE ID IN ('P1', 'P2') RETURNING QTY"), 0);
  EXPECT_EQ(Scalar("SELECT SUM(QTY) FROM PART WHERE ID IN ('P1', 'P2')"), "7");
  EXPECT_LT(Run("INSERT INTO PART (ID, NAME) VALUES ('Q1', 'a'), ('P1', 'dup')"), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8");
}

TEST_F(QueryRunner, NewTablesJoinTheSchema) {
  ASSERT_GE(Run("CREATE TABLE TOOL (TID TEXT PRIMARY KEY, NAME TEXT)"), 0);
  EXPECT_EQ(host->KeyAttribute("TOOL"), "TID");
  EXPECT_EQ(host->KeyAttribute("NOSUCH"), "");
}

}  // namespace
