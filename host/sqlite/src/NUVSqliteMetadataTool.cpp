#include "NUVSqliteMetadataTool.h"

NUVUnicodeString NUVSqliteMetadataTool::GetPrimaryKey(const NUVUnicodeString& classType) {
  return database_->KeyColumn(classType.CastToCharPtr()).c_str();
}
