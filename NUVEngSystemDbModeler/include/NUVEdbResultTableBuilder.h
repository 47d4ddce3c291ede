#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"

class NUVEdbResultTable;

// For the component that fills a result table from a query's answer (a
// host), not for the library's callers: appends rows in constant time.
class NUVEDBUTIL_API NUVEdbResultTableBuilder {
 public:
  // Builds a row from the cells (the row takes its own references) and links
  // it after the last row; the table holds the row's creation reference.
  // Fails when the row cannot be allocated.
  static long AppendRow(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& cells);
};
