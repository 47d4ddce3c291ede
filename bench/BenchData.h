#pragma once
#include <string>

#include "NUVUnicodeString.h"
#include "TestLists.h"

class NUVEdbResultTable;

// The shape every row benchmark uses: a key, an integer, a double and a
// string with blanks.
namespace bench {

// A SQLite file at path holding the table BENCH(ID, N, X, S) with the rows.
void WriteDatabase(const std::string& path, int rows);
// The road benchmarks' database: written once per process, under a name of
// the process's own (runs in other trees may share /tmp), removed at exit.
const std::string& RoadDatabase();
// The key, integer, double and string of row i (from 0), as stored.
std::string Key(int i);
// The variables one row is read into, and the bindings that say so.
struct BoundRow {
  BoundRow();
  BoundRow(const BoundRow&) = delete;
  BoundRow& operator=(const BoundRow&) = delete;
  NUVUnicodeString id;
  int n = 0;
  double x = 0;
  NUVUnicodeString s;
  OwnedList bindings;
};

// Appends rows of four cells to the table, as the host's runner would.
void FillTable(NUVEdbResultTable& table, int rows);

// Takes the memory figures, each in a fresh child process; call before any
// benchmark runs.
void TakeMemoryFigures();

}  // namespace bench
