#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"
#include "NUVListValNUVUnicodeString.h"
#include "SqliteHostTest.h"

namespace {

// A query taken the whole road: parameters, pre-processing, headers from
// the bindings, the host's run, and extraction of every row.
class QueryRoad : public SqliteHost {
 protected:
  void TearDown() override {
    for (int i = 1; i <= owned.Size(); ++i) owned[i]->Release();
    owned.RemoveAll(NUVCollec::FreeMemory);
    SqliteHost::TearDown();
  }
  NUVListPtrNUVBaseUnknown& Adopt(NUVListPtrNUVBaseUnknown& list, NUVBaseUnknown* entry) {
    list.Append(entry);
    owned.Append(entry);
    return list;
  }
  NUVEdbBrokerTool broker;
  NUVListPtrNUVBaseUnknown owned;  // one reference on each parameter, binding and header
};

std::string KeyOf(const NUVIEdbSysObject* object) {
  NUVUnicodeString key;
  if (object) object->GetObjectKey(key);
  return key.CastToCharPtr();
}

TEST_F(QueryRoad, ParametersInBoundVariablesOut) {
  NUVListPtrNUVBaseUnknown parameters;
  NUVListValNUVUnicodeString names;
  names.Append("P.MATERIAL=");
  NUVListValNUVUnicodeString materials;
  materials.Append("Stainless steel");
  materials.Append("Cast iron");
  Adopt(parameters, new NUVEdbSQLData(names, materials, "OR"));
  Adopt(parameters, new NUVEdbSQLData(":MIN", 0.1));
  NUVUnicodeString statement;
  ASSERT_GE(
      broker.PreProcessSQLStatement(
          "SELECT P.ID, P.NAME, P.MASS, P.QTY, P.PRODUCT, (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT D "
          "WHERE D.PART = P.ID) AS DOCS FROM PART P WHERE P.MATERIAL= AND P.MASS > :MIN ORDER BY P.ID",
          parameters, statement),
      0);
  EXPECT_NE(std::string(statement.CastToCharPtr()).find("P.MATERIAL='Stainless%20steel' OR"),
            std::string::npos);

  NUVUnicodeString name;
  double mass = 0;
  int qty = 0;
  NUVIEdbSysObject* product = nullptr;
  NUVIUnknownList* docs = nullptr;
  NUVListPtrNUVBaseUnknown bindings;
  Adopt(bindings, new NUVEdbOutputData("PART", "NAME", &name));
  Adopt(bindings, new NUVEdbOutputData("PART", "MASS", &mass));
  Adopt(bindings, new NUVEdbOutputData("PART", "QTY", &qty));
  Adopt(bindings, new NUVEdbOutputData("PRODUCT", "PRODUCT", product));
  Adopt(bindings, new NUVEdbOutputData("DOCUMENT", "DOCS", docs));
  NUVListPtrNUVBaseUnknown headers;
  NUVUnicodeString columns;
  ASSERT_GE(broker.ExtractInputDefinition(bindings, headers, columns), 0);
  for (int i = 1; i <= headers.Size(); ++i) owned.Append(headers[i]);
  ASSERT_GE(Run(statement.CastToCharPtr(), &headers), 0)
      << MessageOf(Run(statement.CastToCharPtr(), &headers));

  std::string rows;
  int count = 0;
  table->GetNumberOfRows(count);
  for (int n = 1; n <= count; ++n) {
    EXPECT_GE(broker.ExtractOutput(*table, bindings, host->Query(), n), 0);
    rows += std::string(name.CastToCharPtr()) + "|" +
            NUVUnicodeString().BuildFromNum(mass, "%g").CastToCharPtr() + "|" + std::to_string(qty) + "|" +
            KeyOf(product) + "|" + KeysOf(docs) + "\n";
    if (product) product->Release();
    if (docs) docs->Release();
    product = nullptr;
    docs = nullptr;
  }
  EXPECT_EQ(rows,
            "Pump housing|2.75|1|PR1|D1+D2\n"
            "Drive gear|0.42|2|PR1|D3\n"
            "Spool|0.31|1|PR2|D5\n");
}

TEST_F(QueryRoad, ObjectParameterFindsItsRowByKey) {
  NUVIEdbSysObject* part = nullptr;
  ASSERT_GE(host->Query()->GetObjectFromKey("PART", "P4", &part), 0);
  NUVListPtrNUVBaseUnknown parameters;
  Adopt(parameters, new NUVEdbSQLData(":PART", part));
  NUVUnicodeString statement;
  ASSERT_GE(
      broker.PreProcessSQLStatement("SELECT ID, NAME FROM PART WHERE ID = ':PART' OR ID = 'P1' ORDER BY ID",
                                    parameters, statement),
      0);
  ASSERT_GE(Run(statement.CastToCharPtr()), 0);
  NUVUnicodeString name;
  NUVListPtrNUVBaseUnknown bindings;
  Adopt(bindings, new NUVEdbOutputData("PART", "NAME", &name));
  EXPECT_GE(broker.ExtractOutput(*table, bindings, host->Query(), part), 0);
  EXPECT_STREQ(name.CastToCharPtr(), "Valve body");
  part->Release();
}

}  // namespace
