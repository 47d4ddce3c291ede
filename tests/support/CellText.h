#pragma once
#include <string>

#include "NUVEdbResultTabData.h"
#include "NUVListPtrNUVBaseUnknown.h"

// The cells joined by " ", each as "CLASS.ATTR:type=value" or, when bare,
// as its value alone; texts as stored (decode 0) or decoded (1), doubles
// in the given format.
inline std::string CellText(const NUVListPtrNUVBaseUnknown& cells, bool bare = false, int decode = 1,
                            const char* realFormat = "%g") {
  std::string row;
  for (int i = 1; i <= cells.Size(); ++i) {
    const auto& cell = static_cast<const NUVEdbResultTabData&>(*cells[i]);
    NUVUnicodeString classType, attrName, text;
    NUVEdbObjAttrType type = EdbTypeNone;
    cell.GetClassType(classType);
    cell.GetAttrName(attrName);
    cell.GetType(type);
    int number = 0;
    double real = 0;
    std::string value;
    if (cell.GetData(number) >= 0) value = std::to_string(number);
    if (cell.GetData(real) >= 0) value = NUVUnicodeString().BuildFromNum(real, realFormat).CastToCharPtr();
    if (cell.GetData(text, static_cast<unsigned char>(decode)) >= 0) value = text.CastToCharPtr();
    if (i > 1) row += " ";
    if (!bare) {
      row += std::string(classType.CastToCharPtr()) + "." + attrName.CastToCharPtr() + ":" +
             std::to_string(type) + "=";
    }
    row += value;
  }
  return row;
}
