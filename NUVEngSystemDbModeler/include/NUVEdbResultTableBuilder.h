#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTabData;
class NUVEdbResultTabRow;
class NUVEdbResultTable;

// For the component that fills a result table from a query's answer (a
// host), not for the library's callers: appends rows in constant time.
class NUVEDBUTIL_API NUVEdbResultTableBuilder {
 public:
  // Builds a row from the cells (the row takes its own references) and links
  // it after the last row; the table holds the row's creation reference.
  // Fails when the row cannot be allocated.
  static long AppendRow(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& cells);
  // As AppendRow, but the row takes over the references the list holds
  // instead of taking its own: on success the list is emptied (entries that
  // are no cells are released), on failure it is left as it was.
  static long AppendRowTakingCells(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& cells);
  // A string cell (as built from decoded text with keepEncoded 0) whose
  // text arrives already blank-encoded and is stored as it is, without
  // being decoded and encoded again; the caller vouches that the text is
  // in encoded form; the cell takes it over. Null when the cell cannot be
  // allocated.
  static NUVEdbResultTabData* NewEncodedStringCell(const NUVUnicodeString& classType,
                                                   const NUVUnicodeString& attrName,
                                                   NUVUnicodeString encoded);

 private:
  // Links the row after the last one; the table takes the row's reference.
  static void Link(NUVEdbResultTable& table, NUVEdbResultTabRow* row);
};
