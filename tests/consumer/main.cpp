#include <cstdio>
#include <string>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVRef.h"
#include "NUVSqliteHost.h"

// Pre-processes one statement, prints it, runs it on the sample database
// and prints the number of rows.
int main() {
  std::string message;
  auto host = NUVSqliteHost::OpenSample(message);
  if (!host) {
    std::fprintf(stderr, "consumer: %s\n", message.c_str());
    return 1;
  }
  host->Install();
  auto parameter = NUVAdopt(new NUVEdbSQLData(":QTY", 12));
  NUVListPtrNUVBaseUnknown parameters;  // takes no reference of its own
  parameters.Append(parameter.get());
  NUVEdbBrokerTool broker;
  NUVUnicodeString statement;
  long code = broker.PreProcessSQLStatement("SELECT ID FROM PART WHERE QTY = :QTY", parameters, statement);
  std::puts(statement.CastToCharPtr());
  if (!statement.View().starts_with("SELECT")) return 1;  // compiles as C++20 only
  NUVEdbResultTable table;
  if (code >= 0) code = host->Run(statement, table);
  int rows = 0;
  table.GetNumberOfRows(rows);
  std::printf("rows: %d\n", rows);
  return code < 0 ? 1 : 0;
}
