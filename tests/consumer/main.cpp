#include <cstdio>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"

// Pre-processes one statement and prints it.
int main() {
  auto* parameter = new NUVEdbSQLData(":ID", 42);
  NUVListPtrNUVBaseUnknown parameters;
  parameters.Append(parameter);
  NUVEdbBrokerTool broker;
  NUVUnicodeString statement;
  const long code = broker.PreProcessSQLStatement("SELECT * FROM PART WHERE QTY = :ID", parameters, statement);
  parameter->Release();
  std::puts(statement.CastToCharPtr());
  return code < 0 ? 1 : 0;
}
