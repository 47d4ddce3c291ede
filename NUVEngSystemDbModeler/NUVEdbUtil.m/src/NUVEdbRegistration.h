#pragma once
// Class registration: the meta-object of each registered class, the
// operations that answer from it and the kind test; not installed.
#include <atomic>
#include <cstddef>
#include <typeinfo>

#include "NUVBaseUnknown.h"
#include "NUVError.h"
#include "NUVMetaClass.h"

namespace nuvedb {

// The meta-object stored in slot, built on first use from the registration
// record. A null answer leaves the slot null, so the next call asks again.
inline NUVMetaClass* RetrieveMeta(NUVMetaClass*& slot, const char* name, NUVMetaClass* (*baseMeta)(),
                                  size_t size) {
  std::atomic_ref<NUVMetaClass*> cached(slot);
  if (NUVMetaClass* meta = cached.load(std::memory_order_acquire)) return meta;
  NUVMetaClass* base = baseMeta();
  NUVMetaClass* meta =
      fct_RetrieveMetaObject(name, NUVClassKindComponent, base, "NUVNull", "NUVEngSystemDbModeler", size);
  cached.store(meta, std::memory_order_release);
  return meta;
}

// CreateItself of every registered class: creates nothing.
inline NUVBaseUnknown* CreateNothing() { return nullptr; }

// True when the object is not null and of class T or derived from it, as
// its meta-object says. An object of exactly class T, the common case, is
// answered from its dynamic type once T is registered (its meta-object is
// then T's), without a call; others walk the chain of base classes. Always
// inlined: the row paths call it per cell.
template <class T>
[[gnu::always_inline]] inline bool IsKindOf(const NUVBaseUnknown* object) {
  if (!object) return false;
  if (typeid(*object) == typeid(T) &&
      std::atomic_ref<NUVMetaClass*>(T::meta_object).load(std::memory_order_acquire))
    return true;
  const NUVMetaClass* meta = object->GetMetaObject();
  if (!meta) return false;
  const NUVMetaClass* wanted = T::MetaObject();
  return meta == wanted || meta->IsAKindOf(wanted);
}

}  // namespace nuvedb

// Defines the registration operations declared by NUVEDB_DECLARE_CLASS_INFO.
#define NUVEDB_DEFINE_CLASS_INFO(C, Base)                                            \
  NUVMetaClass* C::meta_object = nullptr;                                            \
  NUVMetaClass* C::MetaObject() {                                                    \
    return nuvedb::RetrieveMeta(meta_object, #C, &Base::MetaObject, sizeof(C));      \
  }                                                                                  \
  NUVMetaClass* C::GetMetaObject() const { return MetaObject(); }                    \
  const GUID& C::ClassId() { return MetaObject()->GetClassId(); }                    \
  const char* C::ClassName() { return MetaObject()->IsA(); }                         \
  const char* C::IsA() const { return MetaObject()->IsA(); }                         \
  int C::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); } \
  NUVBaseUnknown* C::CreateItself() { return nuvedb::CreateNothing(); }

// Members shared by every error class: the empty message table, Setup and
// Self.
#define NUVEDB_DEFINE_ERROR_MEMBERS(C)                                   \
  const unsigned int C::errorTableLength = 0;                            \
  const NUVErrDsc C::errorTable[1] = {};                                 \
  void C::GetErrorTable(unsigned int* length, const NUVErrDsc** table) { \
    *length = errorTableLength;                                          \
    *table = errorTable;                                                 \
  }                                                                      \
  C* C::Setup(const char* file, int line) {                              \
    NUVError::Setup(file, line);                                         \
    return this;                                                         \
  }                                                                      \
  C* C::Self() { return this; }
