#pragma once
// Read access to the fields of cells and bindings for the library's own hot
// paths, which would otherwise copy every name through a getter and build a
// result code for each read. Each function answers exactly what the public
// getter of the same name reads; the checks the getter makes (a non-empty
// name, the value's type) stay with the caller. Not installed.
#include <cstring>

#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdsGeneralTool.h"

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

namespace nuvedb {

// True when the two texts are equal, as NUVUnicodeString's operator==
// answers; names of a row mostly differ in length or first byte, which are
// compared before the rest.
inline bool SameText(std::string_view x, std::string_view y) {
  if (x.size() != y.size()) return false;
  if (x.empty()) return true;
  if (x.front() != y.front()) return false;
  return std::memcmp(x.data() + 1, y.data() + 1, x.size() - 1) == 0;
}

// True when the text (whose bytes are given) has at least one character, as
// !HasNoCharacter() answers; a text that starts with an ASCII byte is
// answered at once.
inline bool HasCharacter(const NUVUnicodeString& text, std::string_view bytes) {
  if (bytes.empty()) return false;
  return static_cast<unsigned char>(bytes.front()) < 0x80 || !text.HasNoCharacter();
}
inline bool HasCharacter(const NUVUnicodeString& text) { return HasCharacter(text, text.View()); }

// The decoded form of blank-encoded text, as the cell's decoding getter
// gives it (text without an escape comes back as a shared copy).
inline NUVUnicodeString DecodedText(const NUVUnicodeString& stored) {
  return NUVEdsGeneralTool().DecodeBlanks(stored);
}

}  // namespace nuvedb
