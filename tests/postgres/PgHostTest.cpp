#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "CellText.h"
#include "FinishedStatement.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVError.h"
#include "NUVHostDialect.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "NUVRefList.h"
#include "PgScratch.h"
#include "RecordedText.h"
#include "TestLists.h"

namespace {

// Each test's own schema on the throwaway server with the sample in it,
// its host installed as the session.
class PgHost : public testing::Test {
 protected:
  void SetUp() override {
    host = scratch.Host(true);
    ASSERT_NE(host, nullptr);
    host->Install();
  }

  long Run(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    table = std::make_unique<NUVEdbResultTable>();
    return host->Run(statement.c_str(), *table, headers);
  }
  // The reason recorded when the host refuses the statement; empty when it runs.
  std::string Refusal(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    const long code = Run(statement, headers);
    return code >= 0 ? "" : RecordedText(code);
  }
  int Rows() const {
    int rows = 0;
    table->GetNumberOfRows(rows);
    return rows;
  }
  // Row n's cells joined by " ", each as "CLASS.ATTR:type=value", text decoded.
  std::string Row(int n) const {
    OwnedList cells;
    table->GetRow(n, cells.get());
    return CellText(cells.get(), false, 1, "%.17g");
  }
  std::string Scalar(const std::string& statement) {
    const std::string refusal = Refusal(statement);
    if (!refusal.empty()) return "<refused: " + refusal + ">";
    return Rows() > 0 ? Row(1) : "<no row>";
  }

  // Another session on the same schema.
  std::unique_ptr<NUVPostgresHost> Other(const NUVPostgresOpenOptions& options = {},
                                         const std::string& extra = "") {
    std::string message;
    auto other = NUVPostgresHost::Open(scratch.Conninfo() + extra, message, options);
    EXPECT_NE(other, nullptr) << message;
    return other;
  }

  PgScratch scratch;
  std::unique_ptr<NUVPostgresHost> host;
  std::unique_ptr<NUVEdbResultTable> table;
};

// Every server type the host reads, as the cell it becomes.
TEST_F(PgHost, ServerTypesBecomeTheirCells) {
  struct Case {
    const char* expression;
    const char* cell;
  } cases[] = {
      {"1::int2", "QUERY.v:1=1"},
      {"true", "QUERY.v:1=1"},
      {"false", "QUERY.v:1=0"},
      {"2147483647::int8", "QUERY.v:1=2147483647"},
      {"9007199254740993::int8", "QUERY.v:3=9007199254740993"},
      {"0.5::float4", "QUERY.v:16=0.5"},
      {"2.75::float8", "QUERY.v:16=2.75"},
      {"2.750::numeric", "QUERY.v:16=2.75"},
      {"0.1::numeric", "QUERY.v:16=0.10000000000000001"},
      {"123456789012345678901234567890.5::numeric", "QUERY.v:3=123456789012345678901234567890.5"},
      {"'NaN'::numeric", "QUERY.v:3=NaN"},
      {"'a b''c'::text", "QUERY.v:3=a b'c"},
      {"'x'::char(3)", "QUERY.v:3=x  "},
      {"'\\x00ff1F'::bytea", "QUERY.v:3=00FF1F"},
      {"'2026-12-07'::date", "QUERY.v:3=2026-12-07"},
      {"'{\"a\": 1}'::json", "QUERY.v:3={\"a\": 1}"},
      {"NULL::int4", "QUERY.v:0="},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Scalar(std::string("SELECT ") + c.expression + " AS v"), c.cell) << c.expression;
}

// Sample rows by the upper-case names the library writes: with headers a
// column takes the header's name, class type and type where the value
// converts exactly; without, the folded names the server gives.
TEST_F(PgHost, SampleRowsWithAndWithoutHeaders) {
  OwnedList headers{new NUVEdbResultTabHdr("PART", "QTY", EdbTypeDouble),
                    new NUVEdbResultTabHdr("PART", "MASS", EdbTypeInteger),
                    new NUVEdbResultTabHdr("DOCUMENT", "CHECKSUM", EdbTypeString)};
  ASSERT_EQ(Refusal("SELECT ID, NAME, MASS, QTY FROM PART WHERE ID = 'P1'"), "");
  EXPECT_EQ(Row(1), "part.id:3=P1 part.name:3=Pump housing part.mass:16=2.75 part.qty:1=1");
  ASSERT_EQ(Refusal("SELECT QTY, MASS FROM PART WHERE ID IN ('P1', 'P4') ORDER BY ID", &headers.get()), "");
  EXPECT_EQ(Row(1), "PART.QTY:16=1 PART.MASS:16=2.75");
  ASSERT_EQ(Refusal("SELECT CHECKSUM FROM DOCUMENT WHERE DOCNO = 'D1'", &headers.get()), "");
  EXPECT_EQ(Row(1), "DOCUMENT.CHECKSUM:3=1F8B0800");
  EXPECT_EQ(host->KeyAttribute("PART"), "ID");
  EXPECT_EQ(host->KeyAttribute("part"), "id");
  EXPECT_EQ(host->KeyAttribute("NOSUCH"), "");
  EXPECT_EQ(host->DatabaseName(), "nuvtest");
}

NUVBaseUnknown* Text(const char* name, const char* value) { return new NUVEdbSQLData(name, value, 0); }

// In plain mode the author's literals reach the server exactly as written,
// whatever they look like, and the values the library wrote are decoded
// and bound, so the server sees both as given: blanks, apostrophes,
// percent signs, backslashes (which never end a literal) and UTF-8; a
// value the server cannot type a parameter for is inlined.
TEST_F(PgHost, PlainTextsReachTheServerAsGiven) {
  const std::pair<std::string, const char*> cases[] = {
      {FinishedStatement("SELECT NAME FROM PART WHERE NAME = :N", {Text(":N", "Operator's panel")}),
       "part.name:3=Operator's panel"},
      // Typed by hand, not finished by the library.
      {"SELECT NAME FROM PART WHERE NAME = 'Operator%27s%20panel' AND true", "<no row>"},
      {"SELECT 'it''s' AS v", "QUERY.v:3=it's"},
      {"SELECT 'a%20b' AS hand", "QUERY.hand:3=a%20b"},
      {FinishedStatement("SELECT 100 || :V AS v", {Text(":V", "%")}), "QUERY.v:3=100%"},
      {FinishedStatement("SELECT length(:V) AS v", {Text(":V", "\xC3\xA4 ")}), "QUERY.v:1=2"},
      {"SELECT $$a%20b$$ AS v", "QUERY.v:3=a%20b"},
      {"SELECT E'a\\'b' AS v", "QUERY.v:3=a'b"},
      {"SELECT 1::int4 AS \"it's\" -- 'x%20'", "QUERY.it's:1=1"},
      {FinishedStatement("SELECT :V /* nested /* 'x' */ still ' a comment */ AS v", {Text(":V", "a b")}),
       "QUERY.v:3=a b"},
      {"SELECT '7'::int4 + 1 AS v", "QUERY.v:1=8"},
      {FinishedStatement("SELECT (ARRAY[:V, 'c'])[1:1] AS v", {Text(":V", "a b")}), "QUERY.v:3={\"a b\"}"},
      {"SELECT lo, (ARRAY[1, 2, 3])[lo:lo] AS v FROM (SELECT 2 AS lo) AS t", "QUERY.lo:1=2 QUERY.v:3={2}"},
      {"SELECT U&'d\\0061t%20' AS v", "QUERY.v:3=dat%20"},
      {FinishedStatement("SELECT :X IS NULL AS v, :W AS w", {Text(":X", "x "), Text(":W", "a b")}),
       "QUERY.v:1=0 QUERY.w:3=a b"},
      // Typed literals: the author's run as written, the library's are
      // written as literals after their type name.
      {"SELECT DATE '2024-01-01' AS v", "QUERY.v:3=2024-01-01"},
      {FinishedStatement("SELECT DATE :D AS v", {Text(":D", "2024-01-01")}), "QUERY.v:3=2024-01-01"},
      {FinishedStatement("SELECT TIMESTAMP :T AS v, :U AS u",
                         {Text(":T", "2024-01-01 10:00"), Text(":U", "a\\b")}),
       "QUERY.v:3=2024-01-01 10:00:00 QUERY.u:3=a\\b"},
      {FinishedStatement("SELECT text :T AS v", {Text(":T", "it's a\\'b")}), "QUERY.v:3=it's a\\'b"},
  };
  for (const auto& [statement, cell] : cases) EXPECT_EQ(Scalar(statement), cell) << statement;
  ASSERT_EQ(Refusal(FinishedStatement("INSERT INTO PRODUCT VALUES ('PR9', :N, NULL)",
                                      {Text(":N", "Back\\slash 'q'")})),
            "");
  EXPECT_EQ(Scalar("SELECT NAME FROM PRODUCT WHERE ID = 'PR9'"), "product.name:3=Back\\slash 'q'");
  ASSERT_EQ(Refusal(FinishedStatement("CREATE TABLE NOTE (N TEXT DEFAULT :N)", {Text(":N", "a b")})), "");
  ASSERT_EQ(Refusal("INSERT INTO NOTE DEFAULT VALUES"), "");
  EXPECT_EQ(Scalar("SELECT N FROM NOTE"), "note.n:3=a b");
  // A write whose value cannot be typed runs again with it inlined.
  ASSERT_EQ(Refusal(FinishedStatement("INSERT INTO NOTE (N) SELECT :C WHERE :X IS NOT NULL",
                                      {Text(":C", "c d"), Text(":X", "x ")})),
            "");
  EXPECT_EQ(Scalar("SELECT N FROM NOTE WHERE N <> 'a b'"), "note.n:3=c d");
}

// In encoded mode literals go to the server as written and stored texts
// are read as encoded; the plain host reads the same rows as they are.
TEST_F(PgHost, EncodedModeKeepsTheLibrarysForm) {
  NUVPostgresOpenOptions options;
  options.textMode = NUVHostTextMode::Encoded;
  const auto encoded = Other(options);
  ASSERT_NE(encoded, nullptr);
  NUVEdbResultTable none;
  ASSERT_GE(encoded->Run("CREATE TABLE ETEXT (K TEXT PRIMARY KEY, T TEXT)", none), 0);
  ASSERT_GE(encoded->Run("INSERT INTO ETEXT VALUES ('k1', 'O%27Neil%20%25')", none), 0);
  table = std::make_unique<NUVEdbResultTable>();
  ASSERT_GE(encoded->Run("SELECT T FROM ETEXT WHERE T = 'O%27Neil%20%25'", *table), 0);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(Row(1), "etext.t:3=O'Neil %");
  EXPECT_EQ(Scalar("SELECT T FROM ETEXT"), "etext.t:3=O%27Neil%20%25");
  EXPECT_EQ(encoded->KeyAttribute("ETEXT"), "K");
}

// What must not run is refused with the reason, before anything runs.
TEST_F(PgHost, RefusesWhatMustNotRun) {
  const std::pair<std::string, const char*> cases[] = {
      {"SELECT 1; DELETE FROM PART", "the text holds more than one statement"},
      {"  -- nothing\n;", "the text holds no statement"},
      {"SELECT ID FROM PART WHERE QTY = $1", "the statement holds the parameter $1, which no value replaced"},
      {"SELECT ID FROM PART WHERE QTY = :qty",
       "the statement holds the parameter :qty, which no value replaced"},
      {"SELECT * FROM NOSUCH", "relation \"nosuch\" does not exist (SQLSTATE 42P01)"},
      {"SELECT 1/0", "division by zero (SQLSTATE 22012)"},
      {"INSERT INTO PART (ID, NAME) VALUES ('P1', 'x')", "(SQLSTATE 23505)"},
      {FinishedStatement("SELECT :Z",
                         {new NUVEdbSQLData(":Z", NUVUnicodeString(std::string_view("a\0b", 3)), 0)}),
       "a text value holds a zero byte, which the server cannot store"},
      {"COPY PART TO STDOUT", "COPY is not taken by this host"},
  };
  for (const auto& [statement, reason] : cases)
    EXPECT_NE(Refusal(statement).find(reason), std::string::npos) << statement;
  EXPECT_EQ(Scalar("SELECT count(*)::int4 AS n FROM PART"), "QUERY.n:1=8");
  EXPECT_EQ(Scalar("SELECT 1::int4 AS n;"), "QUERY.n:1=1");
  EXPECT_EQ(Scalar("SELECT 2::int4 AS n WHERE 'a' = ANY ('{a}'::text[])"), "QUERY.n:1=2");
}

// Batches of at most N rows, each with the header; a writing statement
// whose answer or consumer fails is rolled back whole; changed rows are
// counted for writes only.
TEST_F(PgHost, BatchesAndWritesAllOrNothing) {
  const std::pair<size_t, std::vector<int>> batching[] = {
      {1, {1, 1, 1, 1, 1, 1, 1, 1}}, {3, {3, 3, 2}}, {50, {8}}};
  for (const auto& [n, expected] : batching) {
    std::vector<int> sizes;
    ASSERT_GE(host->RunInBatches("SELECT ID FROM PART ORDER BY ID", n,
                                 [&](NUVEdbResultTable& batch) {
                                   int rows = 0;
                                   batch.GetNumberOfRows(rows);
                                   NUVRefList header;
                                   batch.GetHeader(header.get());
                                   EXPECT_EQ(header.Size(), 1);
                                   sizes.push_back(rows);
                                   return 0L;
                                 }),
              0);
    EXPECT_EQ(sizes, expected) << n;
  }
  // Objects are looked up while the answer still streams in.
  int found = 0;
  ASSERT_GE(host->RunInBatches("SELECT ID, PRODUCT FROM PART WHERE PRODUCT IS NOT NULL ORDER BY ID", 2,
                               [&](NUVEdbResultTable&) {
                                 NUVRef<NUVIEdbSysObject> object;
                                 if (host->Query()->GetObjectFromKey("PRODUCT", "PR2", object.out()) < 0)
                                   return -1L;
                                 ++found;
                                 return 0L;
                               }),
            0);
  EXPECT_EQ(found, 4);
  int calls = 0;
  const long failed = host->RunInBatches("UPDATE PART SET QTY = QTY + 1 RETURNING ID", 2,
                                         [&](NUVEdbResultTable&) { return ++calls == 2 ? -5L : 0L; });
  EXPECT_EQ(failed, -5);
  EXPECT_NE(Refusal("UPDATE PART SET QTY = 10 / (QTY - 12) RETURNING ID"), "");
  EXPECT_EQ(Scalar("SELECT sum(QTY)::int4 AS q FROM PART"), "QUERY.q:1=21");
  ASSERT_EQ(Refusal("DELETE FROM DOCUMENT WHERE PART = 'P1'"), "");
  EXPECT_EQ(host->ChangedRows(), 2);
  ASSERT_EQ(Refusal("SELECT 1"), "");
  EXPECT_EQ(host->ChangedRows(), -1);
}

// Keys that could rewrite a statement are refused at lookup with a
// recorded error naming them; existing keys are found.
TEST_F(PgHost, KeysAreCheckedAndLookedUp) {
  NUVRef<NUVIEdbSysObject> object;
  ASSERT_GE(host->Query()->GetObjectFromKey("PRODUCT", "PR3", object.out()), 0);
  ASSERT_NE(object.get(), nullptr);
  const long code = host->Query()->GetObjectFromKey("PART", "P1' OR '1'='1", object.out());
  EXPECT_LT(code, 0);
  EXPECT_EQ(object.get(), nullptr);
  EXPECT_NE(RecordedText(code).find("PART key 'P1' OR '1'='1' refused"), std::string::npos);
  // A numeric key is the value's text exactly; text that is no number of
  // the column's type names no row and is no failure.
  NUVError::ClearRecordedErrors();
  ASSERT_EQ(Refusal("CREATE TABLE NUMBERED (ID INTEGER PRIMARY KEY)"), "");
  ASSERT_EQ(Refusal("INSERT INTO NUMBERED VALUES (7), (12)"), "");
  const std::pair<const char*, bool> keys[] = {{"7", true},           {"12", true},  {"007", false},
                                               {"8", false},          {"x7", false}, {"7.0", false},
                                               {"99999999999", false}};
  for (const auto& [key, found] : keys) {
    NUVRef<NUVIEdbSysObject> numbered;
    EXPECT_EQ(host->Query()->GetObjectFromKey("NUMBERED", key, numbered.out()) >= 0, found) << key;
    EXPECT_EQ(numbered.get() != nullptr, found) << key;
  }
}

// A connection the server ended before the statement is found lost before
// anything runs: the host reconnects once, with its settings, and runs it.
TEST_F(PgHost, ReconnectsOnceAfterALostConnection) {
  const auto backend = [&] {
    const std::string cell = Scalar("SELECT pg_backend_pid() AS pid");
    return cell.substr(cell.find('=') + 1);
  };
  const std::string pid = backend();
  const auto other = Other();
  ASSERT_NE(other, nullptr);
  NUVEdbResultTable ended;
  ASSERT_GE(other->Run(("SELECT pg_terminate_backend(" + pid + ")").c_str(), ended), 0);
  EXPECT_EQ(Scalar("SELECT current_setting('standard_conforming_strings') AS s"), "QUERY.s:3=on");
  // A setting whose server default (1) differs from the host's is back too.
  EXPECT_EQ(Scalar("SELECT current_setting('extra_float_digits') AS s"), "QUERY.s:3=3");
  EXPECT_EQ(Scalar(FinishedStatement("SELECT :V AS v", {Text(":V", "a b")})), "QUERY.v:3=a b");
  const std::string second = backend();
  EXPECT_NE(second, pid);
  // A write begins its transaction on a new connection just as well.
  ASSERT_GE(other->Run(("SELECT pg_terminate_backend(" + second + ")").c_str(), ended), 0);
  ASSERT_EQ(Refusal("UPDATE PART SET QTY = QTY + 1 WHERE ID = 'P1'"), "");
  EXPECT_EQ(host->ChangedRows(), 1);
  EXPECT_EQ(Scalar("SELECT QTY FROM PART WHERE ID = 'P1'"), "part.qty:1=2");
}

// A table made by another session after this one read the schema gives
// its name to the cells, whether the answer is read whole or streams in
// (the name is then asked on the second connection).
TEST_F(PgHost, TablesMadeElsewhereNameTheirCells) {
  const auto other = Other();
  ASSERT_NE(other, nullptr);
  NUVEdbResultTable none;
  ASSERT_GE(other->Run("CREATE TABLE LATE (K TEXT PRIMARY KEY)", none), 0);
  ASSERT_GE(other->Run("INSERT INTO LATE VALUES ('k1'), ('k2')", none), 0);
  EXPECT_EQ(Scalar("SELECT K FROM LATE ORDER BY K"), "late.k:3=k1");
  std::vector<std::string> rows;
  ASSERT_GE(host->RunInBatches("SELECT K, 1 AS n FROM LATE ORDER BY K", 1,
                               [&](NUVEdbResultTable& batch) {
                                 OwnedList cells;
                                 batch.GetRow(1, cells.get());
                                 rows.push_back(CellText(cells.get(), false, 1, "%g"));
                                 return 0L;
                               }),
            0);
  EXPECT_EQ(rows, (std::vector<std::string>{"late.k:3=k1 QUERY.n:1=1", "late.k:3=k2 QUERY.n:1=1"}));
}

// A write that meets another session's work on its row, a lock held past
// the lock timeout or a change committed after its serializable snapshot,
// stops with the reason and SQLSTATE, and nothing of it is applied.
TEST_F(PgHost, WriteMeetingAnotherSessionStopsUnapplied) {
  NUVPostgresOpenOptions lockTimeout;
  lockTimeout.lockTimeoutMs = 100;
  const struct {
    const char* meanwhile;  // run by another session
    NUVPostgresOpenOptions options;
    std::string extra;
    const char *reason, *sqlstate;
    const char* qty;  // P1's afterwards
  } cases[] = {
      {"WITH locked AS (SELECT ID FROM PART WHERE ID = 'P1' FOR UPDATE) SELECT pg_sleep(1.5) FROM locked",
       lockTimeout, "", "lock timeout: ", "(SQLSTATE 55P03)", "part.qty:1=1"},
      {"WITH changed AS (UPDATE PART SET QTY = QTY + 1 WHERE ID = 'P1' RETURNING ID) SELECT pg_sleep(0.8) "
       "FROM changed",
       {},
       " options='-c search_path=" + scratch.Schema() + " -c default_transaction_isolation=serializable'",
       "retryable, run it again: could not serialize access",
       "(SQLSTATE 40001)",
       "part.qty:1=2"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.reason);
    const auto holder = Other(), writer = Other(test.options, test.extra);
    ASSERT_TRUE(holder && writer);
    std::thread holding([&] {
      NUVEdbResultTable held;
      EXPECT_GE(holder->Run(test.meanwhile, held), 0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    NUVEdbResultTable none;
    const long code = writer->Run("UPDATE PART SET QTY = QTY + 10 WHERE ID = 'P1'", none);
    holding.join();
    ASSERT_LT(code, 0);
    const std::string reason = RecordedText(code);
    EXPECT_NE(reason.find(test.reason), std::string::npos) << reason;
    EXPECT_NE(reason.find(test.sqlstate), std::string::npos) << reason;
    EXPECT_EQ(Scalar("SELECT QTY FROM PART WHERE ID = 'P1'"), test.qty);
  }
}

// Two writers that each lock the row the other wants next: the server
// ends one of them as a deadlock, which the host names as retryable and
// rolls back, and the other completes.
TEST_F(PgHost, DeadlockIsNamedRetryable) {
  const auto first = Other(), second = Other();
  ASSERT_TRUE(first && second);
  const auto crossing = [](const char* mine, const char* theirs) {
    return std::string("WITH mine AS (SELECT ID FROM PART WHERE ID = '") + mine +
           "' FOR UPDATE), waited AS (SELECT pg_sleep(0.5) FROM mine) UPDATE PART SET QTY = QTY + 1 WHERE ID "
           "= '" +
           theirs + "' AND EXISTS (SELECT 1 FROM waited)";
  };
  long codes[2] = {0, 0};
  std::string reasons[2];
  const auto write = [&](int n, NUVPostgresHost& session, const char* mine, const char* theirs) {
    NUVEdbResultTable none;
    codes[n] = session.Run(crossing(mine, theirs).c_str(), none);
    if (codes[n] < 0) reasons[n] = RecordedText(codes[n]);
  };
  std::thread other([&] { write(1, *second, "P2", "P1"); });
  write(0, *first, "P1", "P2");
  other.join();
  ASSERT_TRUE((codes[0] < 0) != (codes[1] < 0)) << codes[0] << " " << codes[1];
  const std::string& reason = reasons[codes[0] < 0 ? 0 : 1];
  EXPECT_NE(reason.find("retryable, run it again: deadlock detected"), std::string::npos) << reason;
  EXPECT_NE(reason.find("(SQLSTATE 40P01)"), std::string::npos) << reason;
  EXPECT_EQ(Scalar("SELECT sum(QTY) AS q FROM PART WHERE ID IN ('P1', 'P2')"), "QUERY.q:1=4");
}

// A failed connection says why without the password, and a statement that
// runs too long is stopped with the timeout's SQLSTATE.
TEST(PgConnection, FailuresNameTheReasonButNoPassword) {
  std::string message;
  EXPECT_EQ(NUVPostgresHost::Open(ServerConninfo() + " dbname=nosuchdb password=s3cr3tpw", message), nullptr);
  EXPECT_NE(message.find("nosuchdb"), std::string::npos) << message;
  EXPECT_EQ(message.find("s3cr3tpw"), std::string::npos) << message;
  NUVPostgresOpenOptions options;
  options.statementTimeoutMs = 50;
  auto host = NUVPostgresHost::Open(ServerConninfo(), message, options);
  ASSERT_NE(host, nullptr) << message;
  NUVEdbResultTable table;
  const long code = host->Run("SELECT pg_sleep(2)", table);
  ASSERT_LT(code, 0);
  const std::string reason = RecordedText(code);
  EXPECT_NE(reason.find("statement timeout or cancel: "), std::string::npos) << reason;
  EXPECT_NE(reason.find("(SQLSTATE 57014)"), std::string::npos) << reason;
  for (const auto& [target, server] :
       {std::pair{"postgresql://u@h/db", true}, std::pair{"host=/tmp dbname=x", true},
        std::pair{"parts.db", false}, std::pair{"dir/a=b.db", false}})
    EXPECT_EQ(NUVPostgresHost::IsConnectionString(target), server) << target;
}

// The lines of the server's log that say the text.
int ServerLogLines(const std::string& text) {
  std::ifstream log(ServerFile("datadir") + "/server.log");
  int count = 0;
  for (std::string line; std::getline(log, line);) count += line.find(text) != std::string::npos;
  return count;
}

// A role whose password the server checks: the right password connects; a
// wrong one or none fails as refused authentication, tried once, with no
// password in the message; a failure after the password was accepted is
// not named so.
TEST(PgConnection, PasswordCheckedRole) {
  const std::string conninfo = ServerFile("password-conninfo");
  const std::string password = ServerFile("password");
  ASSERT_FALSE(conninfo.empty() || password.empty()) << "the fixture's server has no password-checked role";
  const struct Case {
    std::string given;
    bool connects;
    bool refused;
    int tries;  // refusals the server logs
  } cases[] = {
      {" password=" + password, true, false, 0},
      {" password=Wr0ngSecret", false, true, 1},
      {" password=" + password + " dbname=nosuchdb", false, false, 0},
      {" passfile=/nonexistent", false, true, 0},  // none given: libpq stops before the server checks
  };
  const std::string logged = "password authentication failed for user \"nuvpw\"";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    const int before = ServerLogLines(logged);
    std::string message;
    const auto host = NUVPostgresHost::Open(conninfo + c.given, message);
    EXPECT_EQ(host != nullptr, c.connects) << message;
    EXPECT_EQ(message.find("authentication refused: ") != std::string::npos, c.refused) << message;
    EXPECT_EQ(message.find("Wr0ngSecret"), std::string::npos) << message;
    EXPECT_EQ(message.find(password), std::string::npos) << message;
    EXPECT_EQ(ServerLogLines(logged) - before, c.tries);
  }
}

// The server's dialect as a caller reads it from the host: its own literal
// forms are quoted text, a literal after a type name is typed, a statement
// writes unless it certainly reads, and a value with a backslash is written
// so that it reads back the same whatever standard_conforming_strings is.
TEST_F(PgHost, DialectIsTheServers) {
  const NUVHostDialect& dialect = host->Dialect();
  EXPECT_TRUE(dialect.TypedLiterals());
  using Class = NUVHostLexeme::Class;
  const std::string text = "SELECT E'a\\'b', $t$x'y$t$, 'c' /* /* */ */ FROM \"T\"";
  std::vector<Class> classes;
  for (const NUVHostLexeme& lexeme : dialect.Lexemes(text)) {
    if (lexeme.kind != Class::Blank && lexeme.kind != Class::Other) classes.push_back(lexeme.kind);
  }
  EXPECT_EQ(classes, (std::vector<Class>{Class::Word, Class::Quoted, Class::Quoted, Class::StringLiteral,
                                         Class::Comment, Class::Word, Class::Quoted}));
  for (const char* reading : {"SELECT 1", "values (1)", "TABLE part", "SHOW search_path"})
    EXPECT_FALSE(dialect.Writes(reading)) << reading;
  for (const char* writing :
       {"INSERT INTO part VALUES (1)", "WITH x AS (DELETE FROM part) SELECT 1", "CALL p()"})
    EXPECT_TRUE(dialect.Writes(writing)) << writing;
  EXPECT_EQ(dialect.QuotedLiteral("it's"), "'it''s'");
  EXPECT_EQ(dialect.QuotedLiteral("a\\b'"), "E'a\\\\b'''");
  const std::string cell = Scalar("SELECT " + dialect.QuotedLiteral("a\\b'") + " AS V");
  EXPECT_EQ(cell.substr(cell.find('=') + 1), "a\\b'") << cell;
}

}  // namespace
