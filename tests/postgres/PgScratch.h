#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

#include "CellText.h"
#include "NUVEdbResultTable.h"
#include "NUVPostgresHost.h"
#include "RecordedText.h"
#include "TestLists.h"

// The first line of a file the test fixture's server script wrote beside
// the connection string (password-conninfo, password, datadir, bindir);
// empty when there is none.
inline std::string ServerFile(const std::string& name) {
  const char* file = std::getenv("NUV_PG_CONNINFO_FILE");
  const std::string path = file ? file : "";
  std::ifstream in(name == "conninfo" ? path : path.substr(0, path.find_last_of('/') + 1) + name);
  std::string line;
  std::getline(in, line);
  return line;
}

// A host on the connection string; null, with a test failure, when it
// cannot be opened.
inline std::unique_ptr<NUVPostgresHost> Open(const std::string& conninfo,
                                             const NUVPostgresOpenOptions& options = {}) {
  std::string message;
  auto host = NUVPostgresHost::Open(conninfo, message, options);
  if (!host) ADD_FAILURE() << conninfo << ": " << message;
  return host;
}

// The table's first row, its cells' values joined by blanks, each as
// "CLASS.ATTR:type=value" unless bare, texts decoded; "<no row>" when it
// has none.
inline std::string FirstRow(const NUVEdbResultTable& rows, bool bare = true) {
  int count = 0;
  rows.GetNumberOfRows(count);
  if (count == 0) return "<no row>";
  OwnedList cells;
  rows.GetRow(1, cells.get());
  return CellText(cells.get(), bare, 1, "%.17g");
}

// The first row of the statement's answer on the host, as FirstRow gives
// it; "<refused: reason>" when the host refuses the statement.
inline std::string Scalar(NUVHost& host, const std::string& statement, bool bare = true) {
  NUVEdbResultTable rows;
  const long code = host.Run(statement.c_str(), rows);
  return code < 0 ? "<refused: " + RecordedText(code) + ">" : FirstRow(rows, bare);
}

// A schema of its own for one test on the throwaway server the test
// fixture started, first on the search path of the connection string it
// gives; dropped with everything in it at the end. Without a server, a
// test failure says why.
class PgScratch {
 public:
  PgScratch() {
    static int count = 0;
    name_ = "t" + std::to_string(getpid()) + "_" + std::to_string(++count);
    const std::string base = ServerFile("conninfo");
    if (base.empty()) {
      ADD_FAILURE() << "no PostgreSQL server: NUV_PG_CONNINFO_FILE names no connection string; run the tests "
                       "through ctest";
      return;
    }
    admin_ = Open(base);
    if (!admin_) return;
    EXPECT_EQ(Scalar(*admin_, "CREATE SCHEMA " + name_), "<no row>");
    conninfo_ = base + " options='-c search_path=" + name_ + "'";
  }
  ~PgScratch() {
    if (admin_) Scalar(*admin_, "DROP SCHEMA " + name_ + " CASCADE");
  }

  const std::string& Conninfo() const { return conninfo_; }
  const std::string& Schema() const { return name_; }

  // A host on the schema, with the sample written into it when asked.
  std::unique_ptr<NUVPostgresHost> Host(bool sample, const NUVPostgresOpenOptions& options = {}) const {
    std::string message;
    if (conninfo_.empty()) return nullptr;
    if (sample && !NUVPostgresHost::WriteSample(conninfo_, message)) {
      ADD_FAILURE() << message;
      return nullptr;
    }
    return Open(conninfo_, options);
  }

 private:
  std::string name_;
  std::string conninfo_;
  std::unique_ptr<NUVPostgresHost> admin_;
};
