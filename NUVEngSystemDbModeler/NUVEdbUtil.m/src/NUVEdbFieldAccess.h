#pragma once
// Read access to the fields of cells and bindings for the library's own hot
// paths, which would otherwise copy every name through a getter and build a
// result code for each read. Each function answers exactly what the public
// getter of the same name reads; the checks the getter makes (a non-empty
// name, the value's type) stay with the caller. Not installed.
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"

class NUVEdbFieldAccess {
 public:
  static const NUVUnicodeString& AttrName(const NUVEdbResultTabData& cell) { return cell.attrName_; }
  static const NUVUnicodeString& ClassType(const NUVEdbResultTabData& cell) { return cell.classType_; }
  static NUVEdbObjAttrType Type(const NUVEdbAnyData& value) { return value.type_; }
  static int Integer(const NUVEdbAnyData& value) { return value.integer_; }
  static double Double(const NUVEdbAnyData& value) { return value.double_; }
  // The stored text, in blank-encoded form.
  static const NUVUnicodeString& StoredText(const NUVEdbAnyData& value) { return value.string_; }

  static const NUVUnicodeString& AttrName(const NUVEdbOutputData& binding) { return binding.attrName_; }
  static const NUVUnicodeString& ClassType(const NUVEdbOutputData& binding) { return binding.classType_; }
  static NUVEdbObjAttrType Type(const NUVEdbOutputData& binding) { return binding.type_; }
  // The caller's string variable, or null when the binding has none.
  static NUVUnicodeString* StringTarget(const NUVEdbOutputData& binding) { return binding.string_; }
};
