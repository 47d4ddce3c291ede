#include "NUVEdbInputTabRow.h"

#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbSQLData.h"

NUVEDB_DEFINE_CLASS_INFO(NUVEdbInputTabRow, NUVBaseUnknown)

NUVEdbInputTabRow::NUVEdbInputTabRow(const NUVListPtrNUVBaseUnknown& parameters) {
  nuvedb::AppendKindOf<NUVEdbSQLData>(parameters, parameters_);
}

NUVEdbInputTabRow::NUVEdbInputTabRow(const NUVEdbInputTabRow& other)
    : NUVBaseUnknown(other), next_(other.next_), parameters_(other.parameters_) {
  nuvedb::AddRefAll(parameters_);
}

NUVEdbInputTabRow& NUVEdbInputTabRow::operator=(const NUVEdbInputTabRow& other) {
  NUVListPtrNUVBaseUnknown incoming = other.parameters_;  // survives self-assignment
  nuvedb::AddRefAll(incoming);
  nuvedb::ReleaseAll(parameters_);
  next_ = other.next_;
  parameters_ = incoming;
  return *this;
}

NUVEdbInputTabRow::~NUVEdbInputTabRow() {
  if (parameters_.Size() > 0) nuvedb::ReleaseAll(parameters_);
  next_ = nullptr;
}
