#include "NUVBaseUnknown.h"

#include "NUVMetaClass.h"
#include "NUVObjectCounters.h"
#include "NUVObjectPool.h"

namespace {
std::atomic<long> failCountdown{0};  // allocations until the one that answers null; 0 for none

// True for the allocation that the countdown picks.
bool CountdownEnds() {
  long left = failCountdown.load(std::memory_order_relaxed);
  while (left > 0 && !failCountdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) {
  }
  return left == 1;
}
}  // namespace

long NUVBaseUnknown::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_IUnknown) {
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return NUV_S_OK;
  }
  *out = nullptr;
  return NUV_E_NOINTERFACE;
}

unsigned long NUVBaseUnknown::AddRef() { return static_cast<unsigned long>(references_.Increment()); }

unsigned long NUVBaseUnknown::Release() {
  const int left = references_.Decrement();
  if (left == 0) delete this;
  return static_cast<unsigned long>(left);
}

NUVMetaClass* NUVBaseUnknown::MetaObject() {
  static NUVMetaClass* const meta = fct_RetrieveMetaObject("NUVBaseUnknown", NUVClassKindComponent, nullptr,
                                                           "NUVNull", "NUVPlatform", sizeof(NUVBaseUnknown));
  return meta;
}
NUVMetaClass* NUVBaseUnknown::GetMetaObject() const { return MetaObject(); }
const char* NUVBaseUnknown::IsA() const { return MetaObject()->IsA(); }
int NUVBaseUnknown::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); }

void* NUVBaseUnknown::operator new(size_t size) noexcept {
  NUVObjectCounters::BlockAllocated();
  if (failCountdown.load(std::memory_order_relaxed) != 0 && CountdownEnds()) return nullptr;
  return NUVObjectPool::Allocate(size);
}

long NUVBaseUnknown::LiveObjectCount() { return NUVObjectCounters::LiveObjects(); }

void NUVBaseUnknown::FailAllocationAt(long n) {
  failCountdown.store(n > 0 ? n : 0, std::memory_order_relaxed);
}

long NUVBaseUnknown::AllocationCount() { return NUVObjectCounters::Allocations(); }
