#include "NUVSqliteQuery.h"

#include <sqlite3.h>

#include "NUVEdbResultTable.h"
#include "NUVEdsGeneralTool.h"
#include "NUVHostKeyText.h"
#include "NUVSqliteObject.h"
#include "NUVSqliteQueryRunner.h"

long NUVSqliteQuery::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_NUVIEdbSysQuery2) {
    *out = static_cast<NUVIEdbSysQuery2*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVSqliteQuery::ExecuteQuery(const NUVUnicodeString& statement) {
  NUVEdbResultTable rows;
  status_ = NUVSqliteQueryRunner(*database_).Run(statement, rows, nullptr);
  return status_;
}

long NUVSqliteQuery::GetQueryStatus(long& status) const {
  status = status_;
  return NUV_S_OK;
}

long NUVSqliteQuery::GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                      NUVIEdbSysObject** object) const {
  if (!object) return NUV_E_POINTER;
  *object = nullptr;
  if (!nuvhost::IsAcceptedKey(key.View()))
    return NUVSqliteRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
  const std::string table = classType.CastToCharPtr();
  const std::string column = database_->KeyColumn(table);
  if (column.empty()) return NUV_E_INVALIDARG;
  const std::string sql = "SELECT 1 FROM " + NUVSqliteDatabase::Quoted(table) + " WHERE " +
                          NUVSqliteDatabase::Quoted(column) + " = ?";
  NUVSqliteStatement statement;
  if (sqlite3_prepare_v2(database_->Connection(), sql.c_str(), -1, statement.out(), nullptr) != SQLITE_OK) {
    return NUVSqliteRefused(database_->LastMessage());
  }
  const NUVUnicodeString stored =
      database_->TextMode() == NUVSqliteTextMode::Encoded ? NUVEdsGeneralTool().EncodeBlanks(key) : key;
  sqlite3_bind_text(statement.get(), 1, stored.CastToCharPtr(), -1, SQLITE_TRANSIENT);
  const int rc = sqlite3_step(statement.get());
  if (rc == SQLITE_DONE) return NUV_E_INVALIDARG;
  if (rc != SQLITE_ROW) return NUVSqliteRefused(database_->LastMessage());
  auto* found = new NUVSqliteObject(table, key.CastToCharPtr());
  if (!found) return NUV_E_FAIL;
  *object = found;
  return NUV_S_OK;
}
