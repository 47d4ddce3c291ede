#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "SqliteHostTest.h"

namespace {

// Values that would end a literal, start a comment or a second statement,
// if they reached the statement as they are.
const char* const kHostile[] = {"O'Neil",      "'); DELETE FROM PART; --",
                                "' OR '1'='1", "''",
                                "%27",         "%",
                                "a b",         "--",
                                "/* x */",     "\"quoted\"",
                                "\\",          "tab\there",
                                "line\nbreak", "",
                                "Größe ÷ 2",   "'"};

using Injection = SqliteHost;

TEST_F(Injection, StringValuesAndListItemsStayOneLiteral) {
  NUVListValNUVUnicodeString values;
  for (const char* value : kHostile) {
    values.Append(value);
    const std::string statement =
        Finished("SELECT :S", {new NUVEdbSQLData(":S", NUVUnicodeString(value), 0)});
    ASSERT_GE(Run(statement), 0) << statement;
    EXPECT_EQ(Row(1, true, 0), NUVEdsGeneralTool().EncodeBlanks(value).CastToCharPtr()) << value;
    EXPECT_EQ(Row(1, true, 1), value);
  }
  // Each of the two rows is matched by exactly its own item of the list.
  const std::string statement = Finished(
      "SELECT COUNT(*) FROM (SELECT :A AS V UNION ALL SELECT :B AS V) WHERE V=",
      {new NUVEdbSQLData(":A", NUVUnicodeString("O'Neil"), 0),
       new NUVEdbSQLData(":B", NUVUnicodeString("--"), 0), new NUVEdbSQLData(Texts({"V="}), values, "OR")});
  EXPECT_EQ(Scalar(statement), "2") << statement;
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8");
}

}  // namespace
