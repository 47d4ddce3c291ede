#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVRefList.h"
#include "PgScratch.h"

namespace {

// Values that would end a literal, start a comment or a second statement
// if they reached the statement as they are, and the injection corpus.
std::vector<std::string> HostileValues() {
  std::vector<std::string> values = {"O'Neil",
                                     "'); DELETE FROM PART; --",
                                     "' OR '1'='1",
                                     "''",
                                     "%27",
                                     "%",
                                     "a b",
                                     "--",
                                     "/* x */",
                                     "\"q\"",
                                     "\\",
                                     "\\'",
                                     "x\\';DELETE FROM PART;--",
                                     "$$",
                                     "$a$",
                                     "E'\\''",
                                     "tab\there",
                                     "line\nbreak",
                                     "",
                                     "Größe ÷ 2",
                                     "'"};
  for (const auto& entry : std::filesystem::directory_iterator(NUV_INJECTION_CORPUS)) {
    std::ifstream file(entry.path(), std::ios::binary);
    values.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  return values;
}

// The decoded text of the first cell of the table's first row.
std::string FirstText(const NUVEdbResultTable& table) {
  NUVRefList cells;
  table.GetRow(1, cells.get());
  NUVUnicodeString text;
  if (cells.Size() > 0) static_cast<const NUVEdbResultTabData*>(cells.get()[1])->GetData(text, 1);
  return std::string(text.View());
}

// With the server's own default for backslashes in literals set the old
// way for the session, every value still reads back as one literal, bound
// (in a condition) or inlined (where the server cannot type a parameter),
// and the table keeps its rows.
TEST(PgInjection, EveryValueStaysOneLiteral) {
  PgScratch scratch;
  ASSERT_NE(scratch.Host(true), nullptr);
  std::string message;
  auto host = NUVPostgresHost::Open(scratch.Conninfo() + " options='-c search_path=" + scratch.Schema() +
                                        " -c standard_conforming_strings=off'",
                                    message);
  ASSERT_NE(host, nullptr) << message;
  host->Install();
  NUVEdbBrokerTool broker;
  for (const std::string& value : HostileValues()) {
    for (const char* pattern : {"SELECT :S AS v", "SELECT NAME FROM PART WHERE NAME <> :S AND ID = 'P8'"}) {
      NUVRefList parameters{new NUVEdbSQLData(":S", NUVUnicodeString(value), 0)};
      NUVUnicodeString statement;
      ASSERT_GE(broker.PreProcessSQLStatement(pattern, parameters, statement), 0);
      NUVEdbResultTable table;
      ASSERT_GE(host->Run(statement, table), 0) << statement.CastToCharPtr();
      int rows = 0;
      table.GetNumberOfRows(rows);
      ASSERT_EQ(rows, 1) << statement.CastToCharPtr();
      EXPECT_EQ(FirstText(table), pattern[7] == ':' ? value : "Operator's panel") << value;
    }
  }
  NUVEdbResultTable count;
  ASSERT_GE(host->Run("SELECT count(*) AS n FROM PART", count), 0);
  NUVRefList cells;
  count.GetRow(1, cells.get());
  int n = 0;
  if (cells.Size() > 0) static_cast<const NUVEdbResultTabData*>(cells.get()[1])->GetData(n);
  EXPECT_EQ(n, 8);
  host->Uninstall();
}

}  // namespace
