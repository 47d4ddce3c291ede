#pragma once
#include <atomic>
#include <cstddef>

#include "IUnknown.h"
#include "NUVObjectCounters.h"
#include "NUVObjectPool.h"
#include "NUVPlatformExport.h"
#include "NUVSharedCount.h"

class NUVMetaClass;

// The reference-counted base object. `new` gives one reference; the last
// Release deletes. The class-level operator new answers null on an
// allocation failure (and when a test asks it to fail).
class NUVPLATFORM_API NUVBaseUnknown : public IUnknown {
 public:
  NUVBaseUnknown() noexcept { NUVObjectCounters::ObjectBuilt(); }
  // A copy is a new object with one reference of its own.
  NUVBaseUnknown(const NUVBaseUnknown& /*other*/) noexcept : IUnknown() { NUVObjectCounters::ObjectBuilt(); }
  // Assignment leaves the reference count alone.
  NUVBaseUnknown& operator=(const NUVBaseUnknown&) noexcept { return *this; }
  virtual ~NUVBaseUnknown() { NUVObjectCounters::ObjectDestroyed(); }

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override;
  unsigned long Release() override;

  virtual NUVMetaClass* GetMetaObject() const;
  virtual const char* IsA() const;
  virtual int IsAKindOf(const char* name) const;
  static NUVMetaClass* MetaObject();

  static void* operator new(size_t size) noexcept;
  // Given the size of the object deleted, which its virtual destructor knows.
  static void operator delete(void* memory, size_t size) noexcept { NUVObjectPool::Free(memory, size); }

  // The number of base objects alive in the process.
  static long LiveObjectCount();
  // Makes the n-th allocation from now answer null (once); 0 turns it off.
  static void FailAllocationAt(long n);
  // Allocations made through operator new since the process started.
  static long AllocationCount();

 private:
  NUVSharedCount<int> references_{1};
};
