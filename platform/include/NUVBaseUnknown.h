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

  // IUnknown with a new reference; null and NUV_E_NOINTERFACE for any
  // other interface, NUV_E_POINTER for a null out.
  long QueryInterface(const GUID& iid, void** out) override;
  // Takes one more reference; answers the new count.
  unsigned long AddRef() override;
  // Gives one reference back; the last one deletes the object. Answers the
  // count left.
  unsigned long Release() override;

  // The meta-object of the object's class (registered classes answer
  // their own).
  virtual NUVMetaClass* GetMetaObject() const;
  // The name of the object's class.
  virtual const char* IsA() const;
  // Non-zero when the object's class is the named one or derives from it.
  virtual int IsAKindOf(const char* name) const;
  // The meta-object of this class.
  static NUVMetaClass* MetaObject();

  // A block from the object pool; null when memory runs out or when
  // FailAllocationAt asked for this allocation to fail.
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
