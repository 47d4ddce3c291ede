#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVIEdbAppWorkpackage.h"
#include "NUVRawCollPV.h"

// An ordered list of workpackage pointers, numbered from 1: a typed face
// over the raw pointer collection. It takes and releases no references.
class NUVEDBUTIL_API NUVListPtrNUVIEdbAppWorkpackage : public NUVRawCollPV {
 public:
  // An empty list with room for initialSize pointers.
  explicit NUVListPtrNUVIEdbAppWorkpackage(int initialSize = 0);
  // @{
  // Copies the pointers, taking no reference.
  NUVListPtrNUVIEdbAppWorkpackage(const NUVListPtrNUVIEdbAppWorkpackage& other);
  NUVListPtrNUVIEdbAppWorkpackage& operator=(const NUVListPtrNUVIEdbAppWorkpackage& other);
  // @}
  ~NUVListPtrNUVIEdbAppWorkpackage() override;

  // @{
  // Appends the pointer, or the other list's pointers in order.
  void Append(NUVIEdbAppWorkpackage* workpackage);
  void Append(const NUVListPtrNUVIEdbAppWorkpackage& other);
  // @}
  // The number of pointers.
  int Size() const;
  // @{
  // The slot itself; an index outside 1..Size() raises a platform error.
  NUVIEdbAppWorkpackage*& operator[](int n);
  NUVIEdbAppWorkpackage* operator[](int n) const;
  // @}
  // Empties the list; NUVCollec::FreeMemory also gives back its storage.
  void RemoveAll(NUVCollec::MemoryHandling mode);
  // @{
  // 1 when the lists hold the same pointers in the same order (==), or
  // not (!=); else 0.
  int operator==(const NUVListPtrNUVIEdbAppWorkpackage& other) const;
  int operator!=(const NUVListPtrNUVIEdbAppWorkpackage& other) const;
  // @}
  // Exchanges the pointers at i and j (from 1); an index outside the list
  // raises a platform error.
  void Swap(int i, int j);
  // Sorts stably; compare receives two stored workpackage pointers.
  void QuickSort(int (*compare)(NUVIEdbAppWorkpackage*, NUVIEdbAppWorkpackage*));
};
