#include "NUVListPtrNUVIEdbAppWorkpackage.h"

#include <utility>

namespace {
// The slots hold untyped pointers to workpackages.
NUVIEdbAppWorkpackage*& AsWorkpackage(void*& slot) { return reinterpret_cast<NUVIEdbAppWorkpackage*&>(slot); }
}  // namespace

NUVListPtrNUVIEdbAppWorkpackage::NUVListPtrNUVIEdbAppWorkpackage(int initialSize) : NUVRawCollPV(initialSize) {}
NUVListPtrNUVIEdbAppWorkpackage::NUVListPtrNUVIEdbAppWorkpackage(const NUVListPtrNUVIEdbAppWorkpackage& other) =
    default;
NUVListPtrNUVIEdbAppWorkpackage::~NUVListPtrNUVIEdbAppWorkpackage() = default;

NUVListPtrNUVIEdbAppWorkpackage& NUVListPtrNUVIEdbAppWorkpackage::operator=(
    const NUVListPtrNUVIEdbAppWorkpackage& other) {
  if (this != &other) NUVRawCollPV::operator=(other);
  return *this;
}

void NUVListPtrNUVIEdbAppWorkpackage::Append(NUVIEdbAppWorkpackage* workpackage) {
  NUVRawCollPV::Append(static_cast<void*>(workpackage));
}

void NUVListPtrNUVIEdbAppWorkpackage::Append(const NUVListPtrNUVIEdbAppWorkpackage& other) {
  NUVRawCollPV::Append(static_cast<const NUVRawCollPV&>(other));
}

int NUVListPtrNUVIEdbAppWorkpackage::Size() const { return NUVRawCollPV::Size(); }

NUVIEdbAppWorkpackage*& NUVListPtrNUVIEdbAppWorkpackage::operator[](int n) {
  return AsWorkpackage(NUVRawCollPV::operator[](n));
}

NUVIEdbAppWorkpackage* NUVListPtrNUVIEdbAppWorkpackage::operator[](int n) const {
  return static_cast<NUVIEdbAppWorkpackage*>(NUVRawCollPV::operator[](n));
}

void NUVListPtrNUVIEdbAppWorkpackage::RemoveAll(NUVCollec::MemoryHandling mode) { NUVRawCollPV::RemoveAll(mode); }

int NUVListPtrNUVIEdbAppWorkpackage::operator==(const NUVListPtrNUVIEdbAppWorkpackage& other) const {
  return NUVRawCollPV::operator==(other) ? 1 : 0;
}

int NUVListPtrNUVIEdbAppWorkpackage::operator!=(const NUVListPtrNUVIEdbAppWorkpackage& other) const {
  return NUVRawCollPV::operator!=(other);
}

void NUVListPtrNUVIEdbAppWorkpackage::Swap(int i, int j) { NUVRawCollPV::Swap(i, j); }

void NUVListPtrNUVIEdbAppWorkpackage::QuickSort(int (*compare)(NUVIEdbAppWorkpackage*, NUVIEdbAppWorkpackage*)) {
  if (!compare) return;
  // The caller's function receives the stored pointers with their own type.
  SortWith([compare](const void* a, const void* b) {
    return compare(static_cast<NUVIEdbAppWorkpackage*>(const_cast<void*>(a)),
                   static_cast<NUVIEdbAppWorkpackage*>(const_cast<void*>(b)));
  });
}
