#include "BenchData.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVSqliteOpenOptions.h"

namespace bench {

BoundRow::BoundRow() {
  bindings.Adopt(new NUVEdbOutputData("BENCH", "ID", &id));
  bindings.Adopt(new NUVEdbOutputData("BENCH", "N", &n));
  bindings.Adopt(new NUVEdbOutputData("BENCH", "X", &x));
  bindings.Adopt(new NUVEdbOutputData("BENCH", "S", &s));
}

std::string Key(int i) { return "K" + std::to_string(i); }

void WriteDatabase(const std::string& path, int rows) {
  std::remove(path.c_str());
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  const std::string sql =
      "CREATE TABLE BENCH (ID TEXT PRIMARY KEY, N INTEGER, X REAL, S TEXT);"
      "WITH RECURSIVE R(I) AS (SELECT 0 UNION ALL SELECT I + 1 FROM R WHERE I + 1 < " +
      std::to_string(rows) +
      ") INSERT INTO BENCH SELECT 'K' || I, I, I * 0.5, 'part%20name%20number%20' || I FROM R;"
      // The texts are stored blank-encoded, and the file says so.
      "PRAGMA application_id = " +
      std::to_string(kNUVSqliteEncodedApplicationId) + ";";
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    sqlite3_close(db);
    throw std::runtime_error(message);
  }
  sqlite3_close(db);
}

const std::string& RoadDatabase() {
  // The name is kept in plain storage, so that the removal at exit does not
  // depend on the order in which statics are destroyed.
  static char name[64];
  static const std::string path = [] {
    std::snprintf(name, sizeof name, "/tmp/nuv_bench_road.%d.db", static_cast<int>(getpid()));
    WriteDatabase(name, 100000);
    std::atexit([] { std::remove(name); });
    return std::string(name);
  }();
  return path;
}

void FillTable(NUVEdbResultTable& table, int rows) {
  OwnedList cells;
  for (int i = 0; i < rows; ++i) {
    cells.Adopt(new NUVEdbResultTabData("BENCH", "ID", NUVUnicodeString(Key(i)), 0));
    cells.Adopt(new NUVEdbResultTabData("BENCH", "N", i));
    cells.Adopt(new NUVEdbResultTabData("BENCH", "X", i * 0.5));
    cells.Adopt(
        new NUVEdbResultTabData("BENCH", "S", NUVUnicodeString("part name number " + std::to_string(i)), 0));
    NUVEdbResultTableBuilder::AppendRow(table, cells);
    cells.Clear();
  }
}

}  // namespace bench
