#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "SqliteHostTest.h"
#include "TestLists.h"

namespace {

// Values that would end a literal, start a comment or a second statement,
// if they reached the statement as they are.
const char* const kHostile[] = {
    "O'Neil",
    "'); DELETE FROM PART; --",
    "' OR '1'='1",
    "%27",
    "%",
    "a b",
    "--",
    "/* x */",
    "\"quoted\"",
    "\\",
    "line\nbreak",
    "tab\there",
    "",
    "Größe ÷ 2",
    "'",
    "''",
    ";",
};

class Injection : public SqliteHost {
 protected:
  // The finished statement for the parameters, which this adopts.
  std::string Finished(const char* statement, std::initializer_list<NUVBaseUnknown*> adopted) {
    OwnedList parameters(adopted);
    NUVUnicodeString result;
    EXPECT_GE(NUVEdbBrokerTool().PreProcessSQLStatement(statement, parameters, result), 0);
    return result.CastToCharPtr();
  }
  // The stored (decode 0) and decoded (decode 1) text of row 1's one cell.
  std::pair<std::string, std::string> OnlyCell() {
    int rows = 0;
    table->GetNumberOfRows(rows);
    EXPECT_EQ(rows, 1);
    NUVListPtrNUVBaseUnknown cells;
    table->GetRow(1, cells);
    EXPECT_EQ(cells.Size(), 1);
    NUVUnicodeString stored;
    NUVUnicodeString decoded;
    if (cells.Size() > 0) {
      static_cast<const NUVEdbResultTabData&>(*cells[1]).GetData(stored, 0);
      static_cast<const NUVEdbResultTabData&>(*cells[1]).GetData(decoded, 1);
    }
    for (int i = 1; i <= cells.Size(); ++i) cells[i]->Release();
    return {stored.CastToCharPtr(), decoded.CastToCharPtr()};
  }
};

TEST_F(Injection, AStringValueStaysOneLiteral) {
  for (const char* value : kHostile) {
    const std::string statement =
        Finished("SELECT :S", {new NUVEdbSQLData(":S", NUVUnicodeString(value), 0)});
    ASSERT_GE(Run(statement), 0) << statement;
    const auto [stored, decoded] = OnlyCell();
    EXPECT_EQ(stored, NUVEdsGeneralTool().EncodeBlanks(value).CastToCharPtr()) << value;
    EXPECT_EQ(decoded, value);
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8");
}

TEST_F(Injection, EveryItemOfAStringListStaysOneLiteral) {
  NUVListValNUVUnicodeString values;
  for (const char* value : kHostile) values.Append(value);
  const std::string statement = Finished(
      "SELECT COUNT(*) FROM (SELECT :A AS V UNION ALL SELECT :B AS V) WHERE V=",
      {new NUVEdbSQLData(":A", NUVUnicodeString("O'Neil"), 0),
       new NUVEdbSQLData(":B", NUVUnicodeString("--"), 0), new NUVEdbSQLData(Texts({"V="}), values, "OR")});
  ASSERT_GE(Run(statement), 0) << statement;
  EXPECT_EQ(Scalar(statement), "2");  // each of the two rows matched by exactly its own item
}

}  // namespace
