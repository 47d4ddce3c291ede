#include "NUVEdbOutputData.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"
#include "NUVRef.h"
#include "SqliteHostTest.h"

namespace {

using Injection = SqliteHost;

// Keys stored in the database that would end the literal they are written
// into, or add words to a bare key: objects taken from one answer and
// passed to the next statement must not carry them there.
TEST_F(Injection, StoredKeysCannotRewriteTheNextStatement) {
  ASSERT_GE(Run("INSERT INTO PRODUCT VALUES ('X%27%20OR%20%271%27=%271', 'Evil', NULL), "
                "('1%20OR%201=1', 'Evil', NULL)"),
            0);
  // The hostile rows as object and object-list outputs of an answer.
  ASSERT_GE(Run("SELECT ID, ID AS IDS FROM PRODUCT WHERE NAME = 'Evil' ORDER BY ID DESC"), 0);
  ASSERT_EQ(Rows(), 2);
  NUVRef<NUVIEdbSysObject> quoted[2];
  NUVRef<NUVIUnknownList> listed[2];
  for (int row = 1; row <= 2; ++row) {
    OwnedList bindings{new NUVEdbOutputData("PRODUCT", "ID", *quoted[row - 1].out()),
                       new NUVEdbOutputData("PRODUCT", "IDS", *listed[row - 1].out())};
    EXPECT_GE(NUVEdbBrokerTool().ExtractOutput(*table, bindings, host->Query(), row), 0);
    EXPECT_EQ(quoted[row - 1].get(), nullptr) << row;
    EXPECT_EQ(listed[row - 1].get(), nullptr) << row;
  }
  NUVRef<NUVIUnknownList> created;
  NUVEdbBrokerTool().CreateVolatileObjectList("PRODUCT", "ID", "X' OR '1'='1+1 OR 1=1", *created.inout());
  EXPECT_EQ(created.get(), nullptr);

  // Each statement deletes every part if a key rewrites it.
  const struct {
    const char* statement;
    NUVBaseUnknown* parameter;
  } attacks[] = {
      {"DELETE FROM PART WHERE PRODUCT = ':PR'", new NUVEdbSQLData(":PR", quoted[0].get())},
      {"DELETE FROM PART WHERE PRODUCT = :PR", new NUVEdbSQLData(":PR", quoted[1].get())},
      {"DELETE FROM PART WHERE PRODUCT IN (':A')", new NUVEdbSQLData(Texts({":A"}), listed[0].get(), "")},
      {"DELETE FROM PART WHERE PRODUCT=", new NUVEdbSQLData(Texts({"PRODUCT="}), listed[1].get(), "OR")},
  };
  for (const auto& attack : attacks) {
    // A parameter without its object or list may fail to substitute; the
    // statement is run all the same.
    OwnedList parameters{attack.parameter};
    NUVUnicodeString finished(attack.statement);
    NUVEdbBrokerTool().PreProcessSQLStatement(attack.statement, parameters, finished);
    Run(std::string(finished.View()));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8") << attack.statement;
  }
}

}  // namespace
