#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PgScratch.h"
#include "ProcessRun.h"

#ifdef EDBQUERY_PATH
namespace {

using Outcome = ProcessOutcome;

Outcome Edbquery(const std::vector<std::string>& arguments) { return RunProcess(EDBQUERY_PATH, arguments); }

// edbquery on a server: --init writes the sample once, JSON keeps the
// server's types and gives every column a key, and objects are looked up
// while a long answer streams in.
TEST(EdbQueryOnServer, InitThenQueries) {
  PgScratch scratch;
  const std::string& db = scratch.Conninfo();
  const Outcome init = Edbquery({"--init", db});
  ASSERT_EQ(init.exitCode, 0) << init.err;
  const Outcome again = Edbquery({"--init", db});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("already; nothing was changed"), std::string::npos) << again.err;

  const Outcome json =
      Edbquery({"--db", db, "--format", "json",
                "SELECT true AS b, false AS b, NULL::bool AS z, 3000000000::int8 AS n, 7::int2 AS s"});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out, "[{\"b\":true,\"b:1\":false,\"z\":null,\"n\":3000000000,\"s\":7}]\n");
  const Outcome many =
      Edbquery({"--db", db, "--out", "object", "PRODUCT", "PRODUCT", "--format", "csv",
                "SELECT PRODUCT FROM PART, generate_series(1, 300) AS n WHERE PRODUCT = 'PR2'"});
  EXPECT_EQ(many.exitCode, 0) << many.err;
  EXPECT_EQ(std::count(many.out.begin(), many.out.end(), '\n'), 901);
  EXPECT_EQ(many.out.substr(0, 12), "PRODUCT\nPR2\n");

  // The server's sample holds the rows of the built-in SQLite one (the
  // server folds the column names to lower case).
  for (const char* table : {"PRODUCT", "PART", "DOCUMENT"}) {
    const std::string every = std::string("SELECT * FROM ") + table + " ORDER BY 1";
    const Outcome server = Edbquery({"--db", db, "--format", "csv", "--no-header", every});
    EXPECT_EQ(server.exitCode, 0) << server.err;
    EXPECT_EQ(server.out, Edbquery({"--format", "csv", "--no-header", every}).out) << table;
  }
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
      "DELETE FROM T WHERE NAME LIKE '%20%'",
      "SELECT ID FROM T WHERE NAME = 'A%20B'",
      "INSERT INTO T VALUES (9, 'size%20x')",
      "SELECT '%20'::text AS V",
  };
  const std::string tables =
      "CREATE TABLE T (ID INTEGER PRIMARY KEY, NAME TEXT);"
      "INSERT INTO T VALUES (1, 'A%20B'), (2, 'A B'), (3, 'x');";
  const std::string dump = "SELECT * FROM T ORDER BY ID";
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

// A writing statement whose output cannot be written is rolled back on the
// server as well, at any size.
TEST(EdbQueryOnServer, WriteWhoseOutputFailsIsNotApplied) {
  for (const int rows : {10, 100000}) {
    PgScratch scratch;
    ASSERT_TRUE(Prepared(scratch,
                         "CREATE TABLE R (ID INTEGER PRIMARY KEY, QTY INTEGER);"
                         "INSERT INTO R SELECT n, 0 FROM generate_series(1, " +
                             std::to_string(rows) + ") AS n"));
    const Outcome full = RunProcess(
        "/bin/sh", {"-c", ShellQuoted(EDBQUERY_PATH) + " --db " + ShellQuoted(scratch.Conninfo()) +
                              " --format csv 'UPDATE R SET QTY = QTY + 1 RETURNING ID' >/dev/full"});
    EXPECT_EQ(full.exitCode, 1) << rows;
    EXPECT_NE(full.err.find("nothing of it was applied"), std::string::npos) << full.err;
    EXPECT_EQ(Psql(scratch, "SELECT SUM(QTY) AS S FROM R").out, "s\n0\n") << rows;
  }
}

// --timeout 0 fails at once on a lock another session holds, as it does on
// SQLite, rather than waiting for it.
TEST(EdbQueryOnServer, ZeroTimeoutFailsAtOnceOnAHeldLock) {
  PgScratch scratch;
  const auto holder = scratch.Host(true);
  ASSERT_TRUE(holder);
  std::thread holding([&holder] {
    Scalar(*holder,
           "DO $$ BEGIN PERFORM 1 FROM PART WHERE ID = 'P1' FOR UPDATE; PERFORM pg_sleep(4); END $$");
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
// statement failed (refused, read-only, authentication), 3 the server could
// not be reached or the connection was lost with nothing applied, 4 run it
// again (5, a commit in doubt, needs a relay). No password is ever shown.
TEST(EdbQueryOnServer, ExitStatusByFailureKind) {
  PgScratch scratch;
  ASSERT_TRUE(Prepared(scratch,
                       "CREATE TABLE K (ID INT);"
                       "CREATE TABLE D (ID INT);"
                       "CREATE FUNCTION END_AT_COMMIT() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END $$;"
                       "CREATE CONSTRAINT TRIGGER D_END AFTER INSERT ON D DEFERRABLE INITIALLY DEFERRED "
                       "FOR EACH ROW EXECUTE FUNCTION END_AT_COMMIT()"));
  const std::string& db = scratch.Conninfo();
  // A name the server refuses every password of: the refusals of the
  // password-checked role itself are counted by another test.
  std::string refusing = ServerFile("password-conninfo");
  ASSERT_FALSE(refusing.empty()) << "the fixture's server has no password-checked role";
  refusing.replace(refusing.find("user=nuvpw"), 10, "user=nuvpwx");
  const struct {
    std::string db;
    std::vector<std::string> arguments;
    int exitCode;
    const char* says;
  } cases[] = {
      {db, {"SELECT * FROM NOSUCH"}, 1, "42P01"},
      // A string's name inside a literal the author wrote, in the server's
      // own literal forms too, is refused before anything runs, naming it.
      {db, {"--string", ":N", "x", "INSERT INTO K SELECT 1 WHERE ':N' <> ''"}, 1, "the value of :N"},
      {db, {"--string", ":N", "x", "INSERT INTO K SELECT 1 WHERE $$:N$$ <> ''"}, 1, "the value of :N"},
      {db, {"--string", ":N", "x", "INSERT INTO K SELECT 1 WHERE E':N' <> ''"}, 1, "the value of :N"},
      {db + " password=s3cr3tpw", {"--readonly", "DELETE FROM K"}, 1, "read-only transaction"},
      {refusing + " password='s3cr3tpw x'", {"SELECT 1"}, 1, "authentication refused"},
      {db + " dbname=nosuchdb password=s3cr3tpw", {"SELECT 1"}, 3, "nosuchdb"},
      {db,
       {"INSERT INTO K SELECT 1 FROM pg_terminate_backend(pg_backend_pid())"},
       3,
       "nothing of the statement was applied"},
      {db, {"DO $$ BEGIN RAISE EXCEPTION 'conflict' USING ERRCODE = '40001'; END $$"}, 4, "run it again"},
      {db, {"INSERT INTO D VALUES (1)"}, 3, "during the commit, which did not apply"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments{"--db", c.db};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Outcome outcome = Edbquery(arguments);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments.back() << ": " << outcome.err;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find("s3cr3tpw"), std::string::npos) << outcome.err;
  }
  // Neither the write cut before its commit nor the one cut during it.
  EXPECT_EQ(Psql(scratch, "SELECT (SELECT COUNT(*) FROM K) + (SELECT COUNT(*) FROM D) AS N").out, "n\n0\n");
}

}  // namespace
#endif
