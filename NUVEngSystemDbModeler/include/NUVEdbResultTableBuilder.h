#pragma once
#include <string_view>

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
  // in encoded form. The text is written straight into the cell. Null when
  // the cell cannot be allocated.
  static NUVEdbResultTabData* NewEncodedStringCell(const NUVUnicodeString& classType,
                                                   const NUVUnicodeString& attrName,
                                                   std::string_view encoded);
  // The same cell for plain text, which is blank-encoded straight into the
  // cell: what a cell built from the text with keepEncoded 0 holds.
  static NUVEdbResultTabData* NewPlainStringCell(const NUVUnicodeString& classType,
                                                 const NUVUnicodeString& attrName, std::string_view plain);

 private:
  // A string cell with no text yet, for the caller to write its stored
  // text into; null when it cannot be allocated.
  static NUVEdbResultTabData* NewStringCellWithoutText(const NUVUnicodeString& classType,
                                                       const NUVUnicodeString& attrName);
  // Links the row after the last one; the table takes the row's reference.
  static void Link(NUVEdbResultTable& table, NUVEdbResultTabRow* row);
};
