#pragma once
#include "NUVEdbAnyData.h"

// One cell of a result table: a typed value with the attribute (column) it
// belongs to and the class type it was read for. Constructors take the
// class type first, then the attribute name.
class NUVEDBUTIL_API NUVEdbResultTabData : public NUVEdbAnyData {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbResultTabData)

 public:
  // @{
  // A cell of the class type and attribute with a value built as
  // NUVEdbAnyData's constructor of the same argument builds it. The integer
  // and double constructors are inline: a host builds one cell per value of
  // an answer.
  NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName, int value)
      : NUVEdbAnyData(value), attrName_(attrName), classType_(classType) {}
  NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                      const float& value);
  NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                      const double& value)
      : NUVEdbAnyData(value), attrName_(attrName), classType_(classType) {}
  NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                      const NUVUnicodeString& value, const unsigned char& keepEncoded);
  NUVEdbResultTabData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                      const IUnknown* value);
  // @}
  // Copies the names and shares the value as NUVEdbAnyData's copy does.
  NUVEdbResultTabData(const NUVEdbResultTabData& other) = default;
  // A copy by value type: names, and integer, float, double or string
  // values; anything else gives a cell of EdbTypeNone with the names. A null
  // source, or one with an empty name, gives an empty cell.
  explicit NUVEdbResultTabData(const NUVEdbResultTabData* source);
  // Assigns the names and the value as the copy constructor copies them.
  NUVEdbResultTabData& operator=(const NUVEdbResultTabData& other) = default;
  ~NUVEdbResultTabData() override;

  // @{
  // Fail, leaving the argument alone, when the name is empty.
  long GetAttrName(NUVUnicodeString& attrName) const;
  long GetClassType(NUVUnicodeString& classType) const;
  // @}

 private:
  friend class NUVEdbFieldAccess;  // the library's own fast reads
  NUVUnicodeString attrName_;
  NUVUnicodeString classType_;
};
