#include "NUVHostCells.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "NUVEdbGeneralTool.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdsGeneralTool.h"

namespace {

using Kind = NUVHostValue::Kind;

constexpr int64_t kExactDoubleLimit = int64_t{1} << 53;

bool FitsInt(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

NUVUnicodeString Hexadecimal(std::string_view bytes) {
  _SEQUENCE_SEQUENCE_octet octets;
  octets.length(static_cast<unsigned long>(bytes.size()));
  if (!bytes.empty()) std::memcpy(octets.data(), bytes.data(), bytes.size());
  NUVEdbGeneralTool general;
  return general.SequenceToUnicode(octets);
}

// The value's text: as the database wrote it, or formatted here into
// formatted.
std::string_view TextOf(const NUVHostValue& value, const NUVHostCursor& cursor, size_t index,
                        NUVUnicodeString& formatted) {
  if (value.kind == Kind::Bytes) {
    formatted = Hexadecimal(value.text);
    return formatted.View();
  }
  if (!value.text.empty() || value.kind == Kind::Text) return value.text;
  const std::string_view written = cursor.NumberText(index);
  if (!written.empty()) return written;
  if (value.kind == Kind::Integer)
    formatted = NUVUnicodeString(std::to_string(value.integer).c_str());
  else
    formatted.BuildFromNum(value.real, "%.17g");
  return formatted.View();
}

// A string cell of text as stored. In an encoded database, stored text in
// the form blank encoding gives is kept as it is; other text is taken as
// the decoding gives it. In a plain database the stored text is the value.
NUVEdbResultTabData* StringCell(const NUVHostCellColumn& column, std::string_view stored,
                                NUVHostTextMode mode) {
  if (mode == NUVHostTextMode::Plain)
    return NUVEdbResultTableBuilder::NewPlainStringCell(column.classType, column.attrName, stored);
  const NUVEdsGeneralTool general;
  if (general.IsEncodedForm(stored))
    return NUVEdbResultTableBuilder::NewEncodedStringCell(column.classType, column.attrName, stored);
  return new NUVEdbResultTabData(column.classType, column.attrName,
                                 general.DecodeBlanks(NUVUnicodeString(stored)), 0);
}

// The cell type a value gets: the header's where the value converts to it
// exactly, else the value's own. Texts under a numeric header stay texts;
// integers beyond 32 bits become their decimal text; bytes their
// hexadecimal text; a null value EdbTypeNone.
NUVEdbObjAttrType CellType(NUVEdbObjAttrType headerType, const NUVHostValue& value) {
  if (value.kind == Kind::Null) return EdbTypeNone;
  if (headerType == EdbTypeString || headerType == EdbTypeObject || headerType == EdbTypeObjectList)
    return EdbTypeString;
  if (value.kind == Kind::Integer) {
    if (headerType == EdbTypeDouble && value.integer >= -kExactDoubleLimit &&
        value.integer <= kExactDoubleLimit)
      return EdbTypeDouble;
    return FitsInt(value.integer) ? EdbTypeInteger : EdbTypeString;
  }
  if (value.kind == Kind::Double) {
    const bool exactInt = std::trunc(value.real) == value.real &&
                          value.real >= std::numeric_limits<int32_t>::min() &&
                          value.real <= std::numeric_limits<int32_t>::max();
    return headerType == EdbTypeInteger && exactInt ? EdbTypeInteger : EdbTypeDouble;
  }
  return EdbTypeString;
}

NUVHostValueSort SortOf(const NUVHostValue& value) {
  switch (value.kind) {
    case Kind::Null:
      return NUVHostValueSort::Null;
    case Kind::Integer:
      return value.boolean ? NUVHostValueSort::Boolean : NUVHostValueSort::Integer;
    case Kind::Double:
      return NUVHostValueSort::Double;
    case Kind::Text:
      return NUVHostValueSort::Text;
    case Kind::Bytes:
      return NUVHostValueSort::Bytes;
  }
  return NUVHostValueSort::Text;
}

}  // namespace

NUVBaseUnknown* NUVHostNewCell(const NUVHostCellColumn& column, const NUVHostCursor& cursor, size_t index,
                               NUVHostTextMode mode, NUVHostValueSort* sort) {
  const NUVHostValue value = cursor.Value(index);
  if (sort) *sort = SortOf(value);
  switch (CellType(column.type, value)) {
    case EdbTypeNone: {
      auto* none = new NUVEdbResultTabData(column.classType, column.attrName, 0);
      if (none) none->SetType(EdbTypeNone);
      return none;
    }
    case EdbTypeInteger:
      return new NUVEdbResultTabData(
          column.classType, column.attrName,
          static_cast<int>(value.kind == Kind::Integer ? value.integer : static_cast<int64_t>(value.real)));
    case EdbTypeDouble:
      return new NUVEdbResultTabData(
          column.classType, column.attrName,
          value.kind == Kind::Integer ? static_cast<double>(value.integer) : value.real);
    default: {
      NUVUnicodeString formatted;
      return StringCell(column, TextOf(value, cursor, index, formatted), mode);
    }
  }
}
