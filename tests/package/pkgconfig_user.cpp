#include <cstdio>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVRef.h"
#include "NUVUnicodeString.h"

// Built with nothing but `pkg-config --cflags --libs NUVEdbUtil`: fills a
// named parameter into a statement and prints the finished statement.
int main() {
  auto parameter = NUVAdopt(new NUVEdbSQLData(":QTY", 12));
  NUVListPtrNUVBaseUnknown parameters;  // takes no reference of its own
  parameters.Append(parameter.get());
  NUVEdbBrokerTool broker;
  NUVUnicodeString statement;
  long code = broker.PreProcessSQLStatement("SELECT ID FROM PART WHERE QTY = :QTY", parameters, statement);
  std::puts(statement.CastToCharPtr());
  return code < 0 ? 1 : 0;
}
