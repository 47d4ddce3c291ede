#pragma once
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"

class NUVEdbInputTabRow;

// A table of input rows of SQL parameters, numbered from 1 in the order
// appended. The table holds one reference on each row.
class NUVEDBUTIL_API NUVEdbInputTable : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbInputTable)

 public:
  NUVEdbInputTable() = default;
  // @{
  // A copy shares the rows and takes its own reference on each.
  NUVEdbInputTable(const NUVEdbInputTable& other);
  NUVEdbInputTable& operator=(const NUVEdbInputTable& other);
  // @}
  ~NUVEdbInputTable() override;

  // Appends a row made from the list. Fails for an empty list or when the
  // row cannot be allocated.
  long AppendRow(const NUVListPtrNUVBaseUnknown& parameters);
  // The number of rows; 0 is written first.
  long GetNumberOfRows(int& count) const;
  // Appends the parameters of row n, each with a reference for the caller.
  // Fails for a negative n; 0 and numbers above the count append nothing.
  long GetRow(int n, NUVListPtrNUVBaseUnknown& parameters) const;

 private:
  void ReleaseRows();
  NUVEdbInputTabRow* firstRow_ = nullptr;
  std::vector<NUVEdbInputTabRow*> rows_;  // the chain in order, for access by number
};
