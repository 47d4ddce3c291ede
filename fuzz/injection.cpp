// No string value ends its literal: SELECT :S, with any string for :S,
// pre-processed and run on the SQLite host, answers one row with one cell
// whose stored text is the value's encoded form.
#include "FuzzTestHost.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "TestLists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NUVSqliteHost& host = FuzzSqliteHost();
  const NUVUnicodeString value(FuzzText(data, size));
  OwnedList parameters{new NUVEdbSQLData(":S", value, 0)};
  NUVUnicodeString statement;
  NUVEdbBrokerTool().PreProcessSQLStatement("SELECT :S", parameters, statement);
  NUVEdbResultTable table;
  FUZZ_CHECK(host.Run(statement, table) >= 0);
  OwnedList cells;  // GetRow hands out a reference on each
  table.GetRow(1, cells);
  int rows = 0;
  table.GetNumberOfRows(rows);
  FUZZ_CHECK(rows == 1 && cells.get().Size() == 1);
  NUVUnicodeString stored;
  static_cast<const NUVEdbResultTabData&>(*cells.get()[1]).GetData(stored, 0);
  FUZZ_CHECK(stored == NUVEdsGeneralTool().EncodeBlanks(value));
  return 0;
}
