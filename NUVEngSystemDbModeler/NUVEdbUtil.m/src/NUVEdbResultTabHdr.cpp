#include "NUVEdbResultTabHdr.h"

#include "NUVEdbNames.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbResultTabHdr"};
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbResultTabHdr, NUVEdbAnyData)

NUVEdbResultTabHdr::NUVEdbResultTabHdr(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                       NUVEdbObjAttrType type)
    : NUVEdbAnyData(type), attrName_(attrName), classType_(classType) {}

NUVEdbResultTabHdr::~NUVEdbResultTabHdr() = default;

long NUVEdbResultTabHdr::GetAttrName(NUVUnicodeString& attrName) const {
  return nuvedb::ReadName(kSource, attrName_, attrName);
}

long NUVEdbResultTabHdr::GetClassType(NUVUnicodeString& classType) const {
  return nuvedb::ReadName(kSource, classType_, classType);
}
