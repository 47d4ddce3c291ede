#include "NUVEdbResultTabData.h"

#include "NUVEdbNames.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbResultTabData"};

// Sets the type on the copy, then reads the source's value and stores it;
// each step runs only when the one before succeeded.
template <class T>
void CopyValue(NUVEdbAnyData& target, const NUVEdbAnyData& source, NUVEdbObjAttrType type) {
  T value{};
  if (target.SetType(type) < 0 || source.GetData(value) < 0) return;
  target.SetData(value);
}
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbResultTabData, NUVEdbAnyData)

NUVEdbResultTabData::NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                         const float& value)
    : NUVEdbAnyData(value), attrName_(attrName), classType_(classType) {}
NUVEdbResultTabData::NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                         const NUVUnicodeString& value, const unsigned char& keepEncoded)
    : NUVEdbAnyData(value, keepEncoded), attrName_(attrName), classType_(classType) {}
NUVEdbResultTabData::NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                         const IUnknown* value)
    : NUVEdbAnyData(value), attrName_(attrName), classType_(classType) {}

NUVEdbResultTabData::NUVEdbResultTabData(const NUVEdbResultTabData* source) {
  if (!source) return;
  NUVUnicodeString attrName;
  NUVUnicodeString classType;
  NUVEdbObjAttrType type = EdbTypeNone;
  if (source->GetAttrName(attrName) < 0 || source->GetType(type) < 0 || source->GetClassType(classType) < 0) {
    return;
  }
  attrName_ = attrName;
  classType_ = classType;
  switch (type) {
    case EdbTypeInteger:
      CopyValue<int>(*this, *source, type);
      break;
    case EdbTypeFloat:
      CopyValue<float>(*this, *source, type);
      break;
    case EdbTypeDouble:
      CopyValue<double>(*this, *source, type);
      break;
    case EdbTypeString: {
      NUVUnicodeString text;
      if (SetType(type) < 0 || source->GetData(text, 1) < 0) break;
      SetData(text);
      break;
    }
    default:
      break;  // objects, encoded strings and lists are not copied
  }
}

NUVEdbResultTabData::~NUVEdbResultTabData() = default;

long NUVEdbResultTabData::GetAttrName(NUVUnicodeString& attrName) const {
  return nuvedb::ReadName(kSource, attrName_, attrName);
}

long NUVEdbResultTabData::GetClassType(NUVUnicodeString& classType) const {
  return nuvedb::ReadName(kSource, classType_, classType);
}
