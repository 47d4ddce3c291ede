#pragma once
#include "NUVEdbAnyData.h"

// One column description of a result table: a type without a value, with
// the attribute name and the class type.
class NUVEDBUTIL_API NUVEdbResultTabHdr : public NUVEdbAnyData {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbResultTabHdr)

 public:
  // The column of the attribute and class type, whose cells are of type.
  NUVEdbResultTabHdr(const NUVUnicodeString& classType, const NUVUnicodeString& attrName, NUVEdbObjAttrType type);
  // @{
  // Copies the names and the type.
  NUVEdbResultTabHdr(const NUVEdbResultTabHdr& other) = default;
  NUVEdbResultTabHdr& operator=(const NUVEdbResultTabHdr& other) = default;
  // @}
  ~NUVEdbResultTabHdr() override;

  // @{
  // Fail, leaving the argument alone, when the name is empty.
  long GetAttrName(NUVUnicodeString& attrName) const;
  long GetClassType(NUVUnicodeString& classType) const;
  // @}

 private:
  NUVUnicodeString attrName_;
  NUVUnicodeString classType_;
};
