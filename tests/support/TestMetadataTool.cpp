#include "TestMetadataTool.h"

#include "TestHost.h"

NUVUnicodeString TestMetadataTool::GetPrimaryKey(const NUVUnicodeString& classType) {
  if (host_.Enter(host_.metadata) != HostScript::Answer::Normal) return {};
  auto found = host_.schema.find(classType.CastToCharPtr());
  if (found == host_.schema.end()) return {};
  return found->second.keyAttribute.c_str();
}
