#pragma once
#include <string>

#include "CellValue.h"
#include "NUVHostCells.h"
#include "NUVRefList.h"

class NUVEdbResultTabData;
class NUVEdbResultTable;

// The cells of one row of a result table, each with the reference the
// table handed out, released when the row goes.
class RowCells {
 public:
  // The cells of row n (from 1); none for a row the table does not have.
  RowCells(const NUVEdbResultTable& table, int n);

  int Count() const { return cells_.Size(); }
  // Cell i (from 1), or null when that entry is not a cell.
  const NUVEdbResultTabData* Cell(int i) const;
  // The attribute name of cell i; empty when it has none.
  std::string AttrName(int i) const;
  // The value of cell i as its type says, or as the database answered it
  // where sort says more (an integer beyond 32 bits, which a text cell
  // carries, is a number; a truth value a Boolean); null for a cell of no
  // type.
  CellValue Value(int i, NUVHostValueSort sort = NUVHostValueSort::Null) const;
  // True when a cell of the attribute holds a value (is not null).
  bool HasValue(const std::string& attrName) const;

 private:
  NUVRefList cells_;  // a reference on each cell
};
