// What every host that runs statements does the same way: the cells of
// each kind of value, NULL, integers beyond 32 bits, bytes, headers, one
// statement per text, parameters left in a statement, texts with blanks
// and apostrophes, and writes that are all or nothing.
#include "CellText.h"
#include "HostSuite.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "NUVRefList.h"
#include "RecordedText.h"
#include "TestLists.h"

long HostUnderTest::Run(const NUVUnicodeString&, NUVEdbResultTable&) { return NUV_E_FAIL; }

long HostUnderTest::RunInBatches(const NUVUnicodeString&, size_t,
                                 const std::function<long(NUVEdbResultTable&)>&,
                                 const NUVListPtrNUVBaseUnknown*) {
  return NUV_E_FAIL;
}

namespace {

// The cells as "CLASS.ATTR:type=value", joined by " ", text decoded.
std::string Describe(const NUVListPtrNUVBaseUnknown& cells) { return CellText(cells); }

// Runs statements on the host under test and says what came back.
class Runner {
 public:
  explicit Runner(HostUnderTest& host) : host_(host) {}

  // The name as the host gives it for a column without a header.
  std::string Name(std::string name) const {
    if (host_.FoldsNames())
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  }

  // Runs the statement in batches, keeping the last row; the reason it was
  // refused, or empty.
  std::string Refusal(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    const long code = host_.RunInBatches(
        statement.c_str(), 2,
        [&](NUVEdbResultTable& batch) {
          int rows = 0;
          batch.GetNumberOfRows(rows);
          for (int n = 1; n <= rows; ++n) {
            NUVRefList cells;
            batch.GetRow(n, cells.get());
            lastRow_ = Describe(cells.get());
          }
          return 0L;
        },
        headers);
    if (code >= 0) return "";
    std::string message = RecordedText(code);
    return message;
  }

  // The statement's last row, or why it was refused.
  std::string LastRow(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    lastRow_ = "<no row>";
    const std::string refusal = Refusal(statement, headers);
    return refusal.empty() ? lastRow_ : "<refused: " + refusal + ">";
  }

 private:
  HostUnderTest& host_;
  std::string lastRow_;
};

#define NUV_NEEDS_STATEMENTS()                                                \
  if (!host->RunsStatements()) GTEST_SKIP() << "the host runs no statements"; \
  Runner run(*host)

TEST_P(HostSuite, ValuesBecomeCellsByTheirType) {
  NUV_NEEDS_STATEMENTS();
  const std::string part = run.Name("PART");
  const std::pair<const char*, std::string> cases[] = {
      {"SELECT ID, NAME, MASS, QTY FROM PART WHERE ID = 'P1'",
       part + "." + run.Name("ID") + ":3=P1 " + part + "." + run.Name("NAME") + ":3=Pump housing " + part +
           "." + run.Name("MASS") + ":16=2.75 " + part + "." + run.Name("QTY") + ":1=1"},
      {"SELECT MASS FROM PART WHERE ID = 'P7'", part + "." + run.Name("MASS") + ":0="},
      {"SELECT NAME FROM PART WHERE NAME = 'Operator%27s%20panel'",
       part + "." + run.Name("NAME") + ":3=Operator's panel"},
      {"SELECT CHECKSUM FROM DOCUMENT WHERE DOCNO = 'D5'",
       run.Name("DOCUMENT") + "." + run.Name("CHECKSUM") + ":3=00FF"},
      {"SELECT 3000000000 AS BIG", "QUERY." + run.Name("BIG") + ":3=3000000000"},
      {"SELECT -2147483648 AS SMALL", "QUERY." + run.Name("SMALL") + ":1=-2147483648"},
      {"SELECT ID FROM PART WHERE QTY > 100", "<no row>"},
  };
  for (const auto& [statement, row] : cases) EXPECT_EQ(run.LastRow(statement), row) << statement;
}

// A header gives its attribute name, class type and type where the value
// converts exactly; a value that does not convert keeps its own type.
TEST_P(HostSuite, HeadersGiveTypesWithoutLoss) {
  NUV_NEEDS_STATEMENTS();
  OwnedList headers{new NUVEdbResultTabHdr("PART", "QTY", EdbTypeDouble),
                    new NUVEdbResultTabHdr("PART", "MASS", EdbTypeInteger),
                    new NUVEdbResultTabHdr("WORKPACKAGE", "PARTS", EdbTypeObjectList)};
  EXPECT_EQ(run.LastRow("SELECT QTY, MASS FROM PART WHERE ID = 'P6'", &headers.get()),
            "PART.QTY:16=12 PART.MASS:16=0.012");
  EXPECT_EQ(run.LastRow("SELECT PARTS FROM WORKPACKAGE WHERE WPID = 'WP1'", &headers.get()),
            "WORKPACKAGE.PARTS:3=P1+P2+P3");
}

TEST_P(HostSuite, RefusesWhatMustNotRunWithTheSameMessage) {
  NUV_NEEDS_STATEMENTS();
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT 1; DELETE FROM PART", "the text holds more than one statement"},
      {"SELECT ID FROM PART WHERE QTY = :qty",
       "the statement holds the parameter :qty, which no value replaced"},
  };
  // The message after the error's catalog and identifier.
  for (const auto& [statement, reason] : cases) {
    const std::string refusal = run.Refusal(statement);
    EXPECT_EQ(refusal.substr(refusal.find(": ") + 2), reason) << statement;
  }
  EXPECT_EQ(run.LastRow("SELECT COUNT(*) AS N FROM PART"), "QUERY." + run.Name("N") + ":" + "1=8");
}

// A writing statement whose answer fails to be taken is rolled back whole.
TEST_P(HostSuite, WritesAreAllOrNothing) {
  NUV_NEEDS_STATEMENTS();
  int batches = 0;
  EXPECT_EQ(host->RunInBatches(
                "UPDATE PART SET QTY = QTY + 1 RETURNING ID", 3,
                [&](NUVEdbResultTable&) { return ++batches == 2 ? -7L : 0L; }, nullptr),
            -7);
  EXPECT_EQ(run.LastRow("SELECT SUM(QTY) AS Q FROM PART"), "QUERY." + run.Name("Q") + ":" + "1=21");
  EXPECT_EQ(run.Refusal("UPDATE PART SET NAME = 'Renamed' WHERE ID = 'P1'"), "");
  EXPECT_EQ(run.LastRow("SELECT NAME FROM PART WHERE ID = 'P1'"),
            run.Name("PART") + "." + run.Name("NAME") + ":3=Renamed");
}

}  // namespace
