#include <utility>

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "SqliteHostTest.h"

namespace {

// A query taken the whole road: parameters (an object among them),
// pre-processing, headers from the bindings, the host's run, and extraction
// of every row and of the object's row.
using QueryRoad = SqliteHost;

TEST_F(QueryRoad, ParametersInBoundVariablesOut) {
  NUVEdbBrokerTool broker;
  NUVRef<NUVIEdbSysObject> part;
  ASSERT_GE(host->Query()->GetObjectFromKey("PART", "P4", part.out()), 0);
  const std::string statement = Finished(
      "SELECT P.ID, P.NAME, P.MASS, P.QTY, P.PRODUCT, (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT D "
      "WHERE D.PART = P.ID) AS DOCS FROM PART P WHERE P.MATERIAL= AND P.MASS > :MIN OR P.ID = ':ALSO' "
      "ORDER BY P.ID",
      {new NUVEdbSQLData(Texts({"P.MATERIAL="}), Texts({"Stainless steel", "Cast iron"}), "OR"),
       new NUVEdbSQLData(":MIN", 0.1), new NUVEdbSQLData(":ALSO", part.get())});

  NUVUnicodeString name;
  double mass = 0;
  int qty = 0;
  NUVRef<NUVIEdbSysObject> product;  // bound: extraction writes a reference into each
  NUVRef<NUVIUnknownList> docs;
  OwnedList bindings{new NUVEdbOutputData("PART", "NAME", &name), new NUVEdbOutputData("PART", "MASS", &mass),
                     new NUVEdbOutputData("PART", "QTY", &qty),
                     new NUVEdbOutputData("PRODUCT", "PRODUCT", *product.out()),
                     new NUVEdbOutputData("DOCUMENT", "DOCS", *docs.out())};
  OwnedList headers;
  NUVUnicodeString columns;
  ASSERT_GE(broker.ExtractInputDefinition(bindings, headers, columns), 0);
  ASSERT_EQ(Refusal(statement, &headers.get()), "");

  // The bound variables as one line, releasing the objects they took.
  const auto bound = [&] {
    NUVUnicodeString productKey;
    if (product) product->GetObjectKey(productKey);
    std::string line = std::string(name.CastToCharPtr()) + "|" +
                       NUVUnicodeString().BuildFromNum(mass, "%g").CastToCharPtr() + "|" +
                       std::to_string(qty) + "|" + productKey.CastToCharPtr() + "|" + KeysOf(docs.get()) +
                       "\n";
    product.Reset();
    docs.Reset();
    return line;
  };
  std::string rows;
  for (int n = 1; n <= Rows(); ++n) {
    EXPECT_GE(broker.ExtractOutput(*table, bindings, host->Query(), n), 0);
    rows += bound();
  }
  EXPECT_EQ(rows,
            "Pump housing|2.75|1|PR1|D1+D2\n"
            "Drive gear|0.42|2|PR1|D3\n"
            "Valve body|1.9|1|PR2|D4\n"
            "Spool|0.31|1|PR2|D5\n");
  EXPECT_GE(broker.ExtractOutput(*table, bindings, host->Query(), part.get()), 0);
  EXPECT_EQ(bound(), "Valve body|1.9|1|PR2|D4\n");
}

}  // namespace
