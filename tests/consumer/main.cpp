#include <cstdio>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVRef.h"

// Pre-processes one statement and prints it.
int main() {
  auto parameter = NUVAdopt(new NUVEdbSQLData(":ID", 42));
  NUVListPtrNUVBaseUnknown parameters;  // takes no reference of its own
  parameters.Append(parameter.get());
  NUVEdbBrokerTool broker;
  NUVUnicodeString statement;
  const long code =
      broker.PreProcessSQLStatement("SELECT * FROM PART WHERE QTY = :ID", parameters, statement);
  std::puts(statement.CastToCharPtr());
  return code < 0 ? 1 : 0;
}
