#pragma once
#include "NUVBaseUnknown.h"
#include "NUVEdbUtilExport.h"
#include "NUVListPtrNUVBaseUnknown.h"

class NUVEdbInputTable;

// One row of an input table: its SQL parameters, each held with one
// reference, and the link to the next row, which it does not own.
class NUVEDBUTIL_API NUVEdbInputTabRow : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbInputTabRow)

 public:
  // Keeps the entries that are NUVEdbSQLData (or derived), each with a
  // reference of its own; the list and the caller's references stay.
  explicit NUVEdbInputTabRow(const NUVListPtrNUVBaseUnknown& parameters);
  // @{
  // A copy shares the parameters and the link, with references of its own.
  NUVEdbInputTabRow(const NUVEdbInputTabRow& other);
  NUVEdbInputTabRow& operator=(const NUVEdbInputTabRow& other);
  // @}
  ~NUVEdbInputTabRow() override;

 private:
  friend class NUVEdbInputTable;
  NUVEdbInputTabRow* next_ = nullptr;
  NUVListPtrNUVBaseUnknown parameters_{0};
};
