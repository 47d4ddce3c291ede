#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVIEdbAppWorkpackage.h"
#include "NUVRawCollPV.h"

// An ordered list of workpackage pointers, numbered from 1: a typed face
// over the raw pointer collection. It takes and releases no references.
class NUVEDBUTIL_API NUVListPtrNUVIEdbAppWorkpackage : public NUVRawCollPV {
 public:
  explicit NUVListPtrNUVIEdbAppWorkpackage(int initialSize = 0);
  NUVListPtrNUVIEdbAppWorkpackage(const NUVListPtrNUVIEdbAppWorkpackage& other);
  ~NUVListPtrNUVIEdbAppWorkpackage() override;
  NUVListPtrNUVIEdbAppWorkpackage& operator=(const NUVListPtrNUVIEdbAppWorkpackage& other);

  void Append(NUVIEdbAppWorkpackage* workpackage);
  void Append(const NUVListPtrNUVIEdbAppWorkpackage& other);
  int Size() const;
  // The slot itself; an index outside 1..Size() raises a platform error.
  NUVIEdbAppWorkpackage*& operator[](int n);
  NUVIEdbAppWorkpackage* operator[](int n) const;
  void RemoveAll(NUVCollec::MemoryHandling mode);
  int operator==(const NUVListPtrNUVIEdbAppWorkpackage& other) const;
  int operator!=(const NUVListPtrNUVIEdbAppWorkpackage& other) const;
  void Swap(int i, int j);
  // Sorts stably; compare receives two stored workpackage pointers.
  void QuickSort(int (*compare)(NUVIEdbAppWorkpackage*, NUVIEdbAppWorkpackage*));
};
