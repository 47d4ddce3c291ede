#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "PgScratch.h"
#include "ProcessRun.h"

#ifdef EDBQUERY_PATH
namespace {

using Outcome = ProcessOutcome;

Outcome Edbquery(const std::vector<std::string>& arguments) { return RunProcess(EDBQUERY_PATH, arguments); }

// edbquery on a server: --init writes the sample once, tour queries answer
// as on the built-in sample, JSON keeps the server's types, and a failure
// never shows the password.
TEST(EdbQueryOnServer, InitThenTourQueries) {
  PgScratch scratch;
  const std::string& db = scratch.Conninfo();
  ASSERT_FALSE(db.empty());
  const Outcome init = Edbquery({"--init", db});
  ASSERT_EQ(init.exitCode, 0) << init.err;
  const Outcome again = Edbquery({"--init", db});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("already; nothing was changed"), std::string::npos) << again.err;

  const struct {
    std::vector<std::string> arguments;
    const char* out;
  } tour[] = {
      {{"--string", ":NAME", "Drive gear", "--out", "string", "PART", "ID", "--out", "double", "PART", "MASS",
        "--format", "csv", "SELECT ID, MASS FROM PART WHERE NAME = :NAME"},
       "ID,MASS\nP2,0.42\n"},
      {{"--string", ":NAME", "Operator's panel", "--format", "csv", "SELECT ID FROM PART WHERE NAME = :NAME"},
       "id\nP8\n"},
      {{"--object", ":PR", "PRODUCT", "PR2", "--format", "csv",
        "SELECT ID FROM PART WHERE PRODUCT = ':PR' ORDER BY ID"},
       "id\nP4\nP5\nP6\n"},
      {{"--string-list", "P.MATERIAL=", "Stainless steel,Aluminium", "--cond", "OR", "--format", "csv",
        "SELECT ID FROM PART P WHERE P.MATERIAL= ORDER BY ID"},
       "id\nP2\nP4\nP5\nP7\n"},
      {{"--out", "string", "PART", "NAME", "--out", "int", "PART", "QTY", "--out", "object", "PRODUCT",
        "PRODUCT", "--format", "csv", "SELECT NAME, QTY, PRODUCT FROM PART WHERE ID = 'P6'"},
       "NAME,QTY,PRODUCT\nHex bolt M8,12,PR2\n"},
      // Truth values, integers at every width and nulls keep their JSON
      // types, and every column has a key, however the server names it.
      {{"--format", "json",
        "SELECT true AS b, false AS b, NULL::bool AS z, 3000000000::int8 AS n, 7::int2 AS s, 'x', 'y'"},
       "[{\"b\":true,\"b:1\":false,\"z\":null,\"n\":3000000000,\"s\":7,\"?column?\":\"x\","
       "\"?column?:1\":\"y\"}]\n"},
      {{"--format", "csv", "SELECT true AS b, false AS c"}, "b,c\n1,0\n"},
  };
  for (const auto& query : tour) {
    SCOPED_TRACE(query.arguments.back());
    std::vector<std::string> arguments{"--db", db};
    arguments.insert(arguments.end(), query.arguments.begin(), query.arguments.end());
    const Outcome outcome = Edbquery(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, query.out);
  }

  // More rows than one batch, each object looked up while the rest streams.
  const Outcome many =
      Edbquery({"--db", db, "--out", "object", "PRODUCT", "PRODUCT", "--format", "csv",
                "SELECT PRODUCT FROM PART, generate_series(1, 300) AS n WHERE PRODUCT = 'PR2'"});
  EXPECT_EQ(many.exitCode, 0) << many.err;
  EXPECT_EQ(std::count(many.out.begin(), many.out.end(), '\n'), 901);
  EXPECT_EQ(many.out.substr(0, 12), "PRODUCT\nPR2\n");

  const Outcome written = Edbquery({"--db", db, "UPDATE PART SET QTY = QTY WHERE PRODUCT = 'PR1'"});
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(written.err, "edbquery: 3 rows changed\n");
  const Outcome refused = Edbquery({"--db", db + " password=s3cr3tpw", "--readonly", "DELETE FROM PART"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("read-only transaction"), std::string::npos) << refused.err;
  // A server that refuses the connection exits as one that may answer later.
  const Outcome lost = Edbquery({"--db", db + " dbname=nosuchdb password=s3cr3tpw", "SELECT 1"});
  EXPECT_EQ(lost.exitCode, 3);
  EXPECT_NE(lost.err.find("nosuchdb"), std::string::npos) << lost.err;
  EXPECT_EQ(lost.err.find("s3cr3tpw"), std::string::npos) << lost.err;
}

// What psql itself gives for the statement on the scratch schema, as CSV.
Outcome Psql(const PgScratch& scratch, const std::string& sql) {
  return RunProcess(ServerFile("bindir") + "/psql",
                    {"-X", "-q", "--csv", "-v", "ON_ERROR_STOP=1", scratch.Conninfo(), "-c", sql});
}

// Tables the test needs, written by psql.
bool Prepared(const PgScratch& scratch, const std::string& sql) {
  const Outcome outcome = Psql(scratch, sql);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  return outcome.exitCode == 0;
}

// The author's SQL reaches the server exactly as written: on tables psql
// wrote, every literal that merely looks encoded gives what psql gives,
// and a write changes what psql's same write changes.
TEST(EdbQueryOnServer, AuthorsLiteralsRunAsWritten) {
  const char* const statements[] = {
      "SELECT ID FROM L WHERE CODE LIKE '%25' ORDER BY ID",
      "DELETE FROM L WHERE CODE LIKE '%25'",
      "SELECT ID FROM T WHERE NAME = 'A%20B'",
      "SELECT '%27' AS V",
      "INSERT INTO T VALUES (9, 'size%20x')",
      "SELECT '%20'::text AS V",
  };
  const std::string tables =
      "CREATE TABLE L (ID INTEGER PRIMARY KEY, CODE TEXT);"
      "INSERT INTO L VALUES (1, '0125'), (2, 'AB'), (3, 'C-7'), (4, '99'), (5, 'Z');"
      "CREATE TABLE T (ID INTEGER PRIMARY KEY, NAME TEXT);"
      "INSERT INTO T VALUES (1, 'A%20B'), (2, 'A B'), (3, 'x');";
  const std::string dump = "SELECT * FROM L ORDER BY ID; SELECT * FROM T ORDER BY ID";
  for (const std::string statement : statements) {
    PgScratch ours, theirs;
    ASSERT_TRUE(Prepared(ours, tables) && Prepared(theirs, tables));
    const Outcome run = Edbquery({"--db", ours.Conninfo(), "--format", "csv", statement});
    const Outcome direct = Psql(theirs, statement);
    ASSERT_EQ(run.exitCode, 0) << statement << ": " << run.err;
    ASSERT_EQ(direct.exitCode, 0) << statement << ": " << direct.err;
    if (statement.rfind("SELECT", 0) == 0) {
      EXPECT_EQ(run.out, direct.out) << statement;
    }
    EXPECT_EQ(Psql(ours, dump).out, Psql(theirs, dump).out) << statement;
  }
}

// A string's name inside a literal the author wrote (in the server's own
// literal forms too) is refused before anything runs, naming it.
TEST(EdbQueryOnServer, StringNameInsideTheAuthorsLiteralIsRefused) {
  PgScratch scratch;
  ASSERT_TRUE(Prepared(scratch,
                       "CREATE TABLE PART (ID INTEGER PRIMARY KEY, NAME TEXT);"
                       "INSERT INTO PART VALUES (1, 'a'), (2, 'b'), (3, 'NAME'), (4, 'c')"));
  for (const char* statement : {"DELETE FROM PART WHERE NAME = ':N'", "DELETE FROM PART WHERE NAME = $$:N$$",
                                "DELETE FROM PART WHERE NAME = E':N'"}) {
    const Outcome refused = Edbquery({"--db", scratch.Conninfo(), "--string", ":N", "||NAME||", statement});
    EXPECT_EQ(refused.exitCode, 1) << statement;
    EXPECT_NE(refused.err.find(":N"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(Psql(scratch, "SELECT COUNT(*) AS N FROM PART").out, "n\n4\n");
}

// A writing statement whose output cannot be written is rolled back on the
// server as well, at any size.
TEST(EdbQueryOnServer, WriteWhoseOutputFailsIsNotApplied) {
  for (const int rows : {10, 100000}) {
    PgScratch scratch;
    ASSERT_TRUE(Prepared(scratch,
                         "CREATE TABLE R (ID INTEGER PRIMARY KEY, QTY INTEGER);"
                         "INSERT INTO R SELECT n, 0 FROM generate_series(1, " +
                             std::to_string(rows) + ") AS n"));
    const std::string base = testing::TempDir() + "full_" + std::to_string(getpid());
    const std::string command = std::string(EDBQUERY_PATH) + " --db " + ShellQuoted(scratch.Conninfo()) +
                                " --format csv 'UPDATE R SET QTY = QTY + 1 RETURNING ID' >/dev/full 2>" +
                                base;
    const int status = std::system(command.c_str());
    EXPECT_EQ(ExitCode(status), 1) << rows;
    EXPECT_NE(FileContents(base).find("nothing of it was applied"), std::string::npos) << FileContents(base);
    std::remove(base.c_str());
    EXPECT_EQ(Psql(scratch, "SELECT SUM(QTY) AS S FROM R").out, "s\n0\n") << rows;
  }
}

// A password the server refuses, written with blanks and escapes, is not
// in the message either.
TEST(EdbQueryOnServer, RefusedPasswordStaysHidden) {
  // A name the server refuses every password of: the refusals of the
  // password-checked role itself are counted by another test.
  std::string conninfo = ServerFile("password-conninfo");
  ASSERT_FALSE(conninfo.empty()) << "the fixture's server has no password-checked role";
  conninfo.replace(conninfo.find("user=nuvpw"), 10, "user=nuvpwx");
  for (const char* given :
       {" password='Wr0ng Secret'", " password=Wr0ng\\ Secret", " password = 'Wr0ng\\'s'"}) {
    const Outcome refused = Edbquery({"--db", conninfo + given, "SELECT 1"});
    EXPECT_EQ(refused.exitCode, 1) << given;
    EXPECT_NE(refused.err.find("authentication refused"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("Wr0ng"), std::string::npos) << refused.err;
  }
}

// --timeout 0 fails at once on a lock another session holds, as it does on
// SQLite, rather than waiting for it.
TEST(EdbQueryOnServer, ZeroTimeoutFailsAtOnceOnAHeldLock) {
  PgScratch scratch;
  const auto holder = scratch.Host(true);
  ASSERT_TRUE(holder);
  std::thread holding([&holder] {
    NUVEdbResultTable none;
    holder->Run("DO $$ BEGIN PERFORM 1 FROM PART WHERE ID = 'P1' FOR UPDATE; PERFORM pg_sleep(4); END $$",
                none);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const auto start = std::chrono::steady_clock::now();
  const Outcome locked =
      Edbquery({"--db", scratch.Conninfo(), "--timeout", "0", "UPDATE PART SET QTY = 4 WHERE ID = 'P1'"});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  holding.join();
  EXPECT_EQ(locked.exitCode, 1);
  EXPECT_NE(locked.err.find("lock timeout"), std::string::npos) << locked.err;
  EXPECT_LT(took.count(), 2.5);
}

// A script that retries reads what to do from the exit status: 1 the
// statement failed, 3 the connection was lost with nothing applied, 4 run
// it again (5, the commit's outcome is unknown, has its own test with a
// connection cut after the commit).
TEST(EdbQueryOnServer, ExitStatusByFailureKind) {
  PgScratch scratch;
  ASSERT_TRUE(Prepared(scratch,
                       "CREATE TABLE K (ID INT);"
                       "CREATE TABLE D (ID INT);"
                       "CREATE FUNCTION END_AT_COMMIT() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END $$;"
                       "CREATE CONSTRAINT TRIGGER D_END AFTER INSERT ON D DEFERRABLE INITIALLY DEFERRED "
                       "FOR EACH ROW EXECUTE FUNCTION END_AT_COMMIT()"));
  const struct {
    const char* statement;
    int exitCode;
    const char* says;
    const char* alsoSays = "";
  } cases[] = {
      {"SELECT * FROM NOSUCH", 1, "42P01"},
      {"INSERT INTO K SELECT 1 FROM pg_terminate_backend(pg_backend_pid())", 3, "connection lost",
       "nothing of the statement was applied"},
      {"DO $$ BEGIN RAISE EXCEPTION 'conflict' USING ERRCODE = '40001'; END $$", 4, "run it again"},
      {"INSERT INTO D VALUES (1)", 3, "during the commit, which did not apply"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Edbquery({"--db", scratch.Conninfo(), c.statement});
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.statement << ": " << outcome.err;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(c.alsoSays), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(Psql(scratch, "SELECT COUNT(*) AS N FROM K").out, "n\n0\n");
}

}  // namespace
#endif
