#include "NUVBaseUnknown.h"

#include "NUVMetaClass.h"
#include "NUVObjectPool.h"

namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> allocations{0};
std::atomic<long> failAt{0};  // allocation number that answers null; 0 for none
}  // namespace

NUVBaseUnknown::NUVBaseUnknown() noexcept { liveObjects.fetch_add(1, std::memory_order_relaxed); }

NUVBaseUnknown::NUVBaseUnknown(const NUVBaseUnknown& /*other*/) noexcept : IUnknown() {
  liveObjects.fetch_add(1, std::memory_order_relaxed);
}

NUVBaseUnknown::~NUVBaseUnknown() { liveObjects.fetch_sub(1, std::memory_order_relaxed); }

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

unsigned long NUVBaseUnknown::AddRef() {
  return static_cast<unsigned long>(references_.fetch_add(1, std::memory_order_relaxed) + 1);
}

unsigned long NUVBaseUnknown::Release() {
  const int left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
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
  const long number = allocations.fetch_add(1, std::memory_order_relaxed) + 1;
  long target = failAt.load(std::memory_order_relaxed);
  if (target != 0 && number == target &&
      failAt.compare_exchange_strong(target, 0, std::memory_order_relaxed)) {
    return nullptr;
  }
  return NUVObjectPool::Allocate(size);
}

void NUVBaseUnknown::operator delete(void* memory, size_t size) noexcept {
  NUVObjectPool::Free(memory, size);
}

long NUVBaseUnknown::LiveObjectCount() { return liveObjects.load(std::memory_order_relaxed); }

void NUVBaseUnknown::FailAllocationAt(long n) {
  failAt.store(n > 0 ? allocations.load(std::memory_order_relaxed) + n : 0, std::memory_order_relaxed);
}

long NUVBaseUnknown::AllocationCount() { return allocations.load(std::memory_order_relaxed); }
