#include "NUVHostMetadataTool.h"

#include "NUVHostSession.h"

NUVUnicodeString NUVHostMetadataTool::GetPrimaryKey(const NUVUnicodeString& classType) {
  return NUVHostKeyAttribute(*backend_, classType.CastToCharPtr()).c_str();
}
