#pragma once
#include "NUVBaseUnknown.h"
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"

class NUVEdbResultTable;
class NUVEdbResultTableBuilder;

// One row of a result table: its cells, each held with one reference, and
// the link to the next row, which it does not own.
class NUVEDBUTIL_API NUVEdbResultTabRow : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbResultTabRow)

 public:
  // Keeps the entries that are cells (NUVEdbResultTabData or derived), each
  // with a reference of its own; the list and the caller's references stay.
  explicit NUVEdbResultTabRow(NUVListPtrNUVBaseUnknown& cells);
  // @{
  // A copy shares the cells and the next link and takes its own references
  // on the cells.
  NUVEdbResultTabRow(const NUVEdbResultTabRow& other);
  NUVEdbResultTabRow& operator=(const NUVEdbResultTabRow& other);
  // @}
  // Releases the cells, not the next row.
  ~NUVEdbResultTabRow() override;

 private:
  friend class NUVEdbResultTable;
  friend class NUVEdbResultTableBuilder;
  // A row without cells, which the table builder fills itself.
  NUVEdbResultTabRow() = default;
  void ReleaseCells();

  NUVEdbResultTabRow* next_ = nullptr;
  NUVListPtrNUVBaseUnknown cells_{0};
};
