#include "NUVEdbResultTabRow.h"

#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultTabData.h"

NUVEDB_DEFINE_CLASS_INFO(NUVEdbResultTabRow, NUVBaseUnknown)

NUVEdbResultTabRow::NUVEdbResultTabRow(NUVListPtrNUVBaseUnknown& cells) {
  nuvedb::AppendKindOf<NUVEdbResultTabData>(cells, cells_);
}

NUVEdbResultTabRow::NUVEdbResultTabRow(const NUVEdbResultTabRow& other)
    : NUVBaseUnknown(other), next_(other.next_), cells_(other.cells_) {
  nuvedb::AddRefAll(cells_);
}

NUVEdbResultTabRow& NUVEdbResultTabRow::operator=(const NUVEdbResultTabRow& other) {
  NUVListPtrNUVBaseUnknown incoming = other.cells_;  // survives self-assignment
  nuvedb::AddRefAll(incoming);
  ReleaseCells();
  next_ = other.next_;
  cells_ = incoming;
  return *this;
}

NUVEdbResultTabRow::~NUVEdbResultTabRow() {
  ReleaseCells();
  next_ = nullptr;
}

void NUVEdbResultTabRow::ReleaseCells() {
  if (cells_.Size() > 0) nuvedb::ReleaseAll(cells_);
}
