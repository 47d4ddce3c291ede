#include "RowCells.h"

#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"

RowCells::RowCells(const NUVEdbResultTable& table, int n) { table.GetRow(n, cells_.get()); }

const NUVEdbResultTabData* RowCells::Cell(int i) const {
  const NUVBaseUnknown* entry = cells_.get()[i];
  if (!entry || !entry->IsAKindOf(NUVEdbResultTabData::ClassName())) return nullptr;
  return static_cast<const NUVEdbResultTabData*>(entry);
}

std::string RowCells::AttrName(int i) const {
  NUVUnicodeString name;
  if (const NUVEdbResultTabData* cell = Cell(i)) cell->GetAttrName(name);
  return std::string(name.View());
}

CellValue RowCells::Value(int i, NUVHostValueSort sort) const {
  const NUVEdbResultTabData* cell = Cell(i);
  NUVEdbObjAttrType type = EdbTypeNone;
  if (!cell || cell->GetType(type) < 0) return CellValue::Null();
  int integer = 0;
  double real = 0;
  NUVUnicodeString text;
  switch (type) {
    case EdbTypeNone:
      return CellValue::Null();
    case EdbTypeInteger:
      if (cell->GetData(integer) < 0) return CellValue::Null();
      if (sort == NUVHostValueSort::Boolean) return {CellValue::Kind::Boolean, integer ? "1" : "0"};
      return CellValue::Integer(integer);
    case EdbTypeDouble:
      return cell->GetData(real) >= 0 ? CellValue::Double(real) : CellValue::Null();
    default:
      if (cell->GetData(text, 1) < 0) return CellValue::Null();
      if (sort == NUVHostValueSort::Integer) return {CellValue::Kind::Number, std::string(text.View())};
      return CellValue::Text(std::string(text.View()));
  }
}

bool RowCells::HasValue(const std::string& attrName) const {
  for (int i = 1; i <= Count(); ++i) {
    if (AttrName(i) == attrName && Value(i).kind != CellValue::Kind::Null) return true;
  }
  return false;
}
