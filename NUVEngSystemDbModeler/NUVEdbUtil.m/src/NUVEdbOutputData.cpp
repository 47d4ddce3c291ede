#include "NUVEdbOutputData.h"

#include "NUVEdbNames.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"
#include "NUVIEdbSysObject.h"
#include "NUVIUnknownList.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbOutputData"};

// Puts the pointer into the caller's variable with a reference of its own.
// The new reference is taken first, so that storing the pointer the
// variable already holds never destroys it in between.
template <class T>
void ReplaceHeld(T** variable, const T* value) {
  if (!variable) return;
  T* incoming = const_cast<T*>(value);  // the variable holds its own reference on it
  if (incoming) incoming->AddRef();
  if (*variable) (*variable)->Release();
  *variable = incoming;
}
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbOutputData, NUVBaseUnknown)

NUVEdbOutputData::NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                   int* target)
    : integer_(target), type_(EdbTypeInteger), attrName_(attrName), classType_(classType) {}
NUVEdbOutputData::NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                   double* target)
    : double_(target), type_(EdbTypeDouble), attrName_(attrName), classType_(classType) {}
NUVEdbOutputData::NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                   NUVUnicodeString* target)
    : string_(target), type_(EdbTypeString), attrName_(attrName), classType_(classType) {}
NUVEdbOutputData::NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                   NUVIEdbSysObject*& target)
    : object_(&target), type_(EdbTypeObject), attrName_(attrName), classType_(classType) {}
NUVEdbOutputData::NUVEdbOutputData(const NUVUnicodeString& classType, const NUVUnicodeString& attrName,
                                   NUVIUnknownList*& target)
    : objectList_(&target), type_(EdbTypeObjectList), attrName_(attrName), classType_(classType) {}

NUVEdbOutputData::~NUVEdbOutputData() { SetPtrsToNull(); }

void NUVEdbOutputData::SetPtrsToNull() {
  integer_ = nullptr;
  double_ = nullptr;
  string_ = nullptr;
  object_ = nullptr;
  objectList_ = nullptr;
}

void NUVEdbOutputData::SetValue(const int& value) {
  if (integer_) *integer_ = value;
}

void NUVEdbOutputData::SetValue(const double& value) {
  if (double_) *double_ = value;
}

void NUVEdbOutputData::SetValue(const NUVUnicodeString& value) {
  if (string_) *string_ = value;
}

void NUVEdbOutputData::SetValue(const NUVIEdbSysObject* value) { ReplaceHeld(object_, value); }

void NUVEdbOutputData::SetValue(const NUVIUnknownList* value) { ReplaceHeld(objectList_, value); }

long NUVEdbOutputData::GetAttrName(NUVUnicodeString& attrName) const {
  return nuvedb::ReadName(kSource, attrName_, attrName);
}

long NUVEdbOutputData::GetClassType(NUVUnicodeString& classType) const {
  return nuvedb::ReadName(kSource, classType_, classType);
}

long NUVEdbOutputData::GetAttrType(NUVEdbObjAttrType& type) const {
  type = type_;
  return kSource.Success();
}
