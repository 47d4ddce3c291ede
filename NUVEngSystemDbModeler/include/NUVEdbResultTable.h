#pragma once
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVEdbObjAttrType.h"
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTabRow;

// The answer of a query: column headers and a chain of rows of cells,
// numbered from 1. The table holds one reference on each header and row.
// Rows are added only by the component that fills the table, through
// NUVEdbResultTableBuilder.
class NUVEDBUTIL_API NUVEdbResultTable : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbResultTable)

 public:
  NUVEdbResultTable() = default;
  // @{
  // A copy shares headers and rows and takes its own reference on each.
  NUVEdbResultTable(const NUVEdbResultTable& other);
  NUVEdbResultTable& operator=(const NUVEdbResultTable& other);
  // @}
  ~NUVEdbResultTable() override;

  // Stores the headers of the list (NUVEdbResultTabHdr or derived), each
  // with a reference. Fails, storing nothing, once a header is stored.
  long SetHeader(const NUVListPtrNUVBaseUnknown& headers);
  // Appends the headers, each with a reference for the caller. On failure
  // the caller's list is released and emptied, whatever it held before.
  long GetHeader(NUVListPtrNUVBaseUnknown& headers) const;
  // The number of rows; 0 is written first.
  long GetNumberOfRows(int& count) const;
  // Appends the cells of row n, each with a reference for the caller.
  // Fails for a negative n; 0 and numbers above the count append nothing.
  long GetRow(const int& n, NUVListPtrNUVBaseUnknown& cells) const;
  // Appends, row by row, the first cell named attrName, each with a
  // reference, and writes the type of the last one appended. Fails for an
  // empty name.
  long GetColumn(const NUVUnicodeString& attrName, NUVEdbObjAttrType& type, NUVListPtrNUVBaseUnknown& cells) const;

 private:
  friend class NUVEdbResultTableBuilder;
  void TakeReferences();
  void ReleaseAll();

  NUVListPtrNUVBaseUnknown header_{0};
  NUVEdbResultTabRow* firstRow_ = nullptr;
  std::vector<NUVEdbResultTabRow*> rows_;  // the chain in order, for access by number
};
