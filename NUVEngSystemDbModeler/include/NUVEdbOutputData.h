#pragma once
#include "NUVBaseUnknown.h"
#include "NUVEdbObjAttrType.h"
#include "NUVEdbUtilExport.h"
#include "NUVUnicodeString.h"

class NUVIEdbSysObject;
class NUVIUnknownList;

// Where one output attribute goes: the attribute and class type, and one
// variable of the caller's (integer, double, string, object or object
// list). The binding owns no variable; for object and list variables it
// manages the one reference the variable holds.
class NUVEDBUTIL_API NUVEdbOutputData : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbOutputData)

 public:
  // @{
  // Binds the attribute of the class type to the caller's variable, whose
  // kind gives the binding's type.
  NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName, int* target);
  NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName, double* target);
  NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                   NUVUnicodeString* target);
  NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                   NUVIEdbSysObject*& target);
  NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                   NUVIUnknownList*& target);
  // @}
  // @{
  // A copy is bound to the same variables; no reference is taken.
  NUVEdbOutputData(const NUVEdbOutputData& other) = default;
  NUVEdbOutputData& operator=(const NUVEdbOutputData& other) = default;
  // @}
  // Releases nothing: the variables keep what they hold.
  ~NUVEdbOutputData() override;

  // @{
  // Each writes only through its own kind of target, and does nothing when
  // the binding has none.
  void SetValue(const int& value);
  void SetValue(const double& value);
  void SetValue(const NUVUnicodeString& value);
  // @}
  // @{
  // Replace what the variable holds by the pointer with a reference of its
  // own; null empties the variable.
  void SetValue(const NUVIEdbSysObject* value);
  void SetValue(const NUVIUnknownList* value);
  // @}

  // @{
  // Fail, leaving the argument alone, when the name is empty.
  long GetAttrName(NUVUnicodeString& attrName) const;
  long GetClassType(NUVUnicodeString& classType) const;
  // @}
  // The type of the bound variable; always succeeds.
  long GetAttrType(NUVEdbObjAttrType& type) const;

 private:
  friend class NUVEdbFieldAccess;  // the library's own fast reads
  void SetPtrsToNull();

  int* integer_ = nullptr;
  double* double_ = nullptr;
  NUVUnicodeString* string_ = nullptr;
  NUVIEdbSysObject** object_ = nullptr;
  NUVIUnknownList** objectList_ = nullptr;
  NUVEdbObjAttrType type_;
  NUVUnicodeString attrName_;
  NUVUnicodeString classType_;
};
