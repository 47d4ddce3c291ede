#pragma once
// Helpers shared by every class of the library; not installed.
#include <atomic>
#include <utility>

#include "NUVError.h"
#include "NUVMetaClass.h"
#include "NUVUnicodeString.h"
#include "NUVXHContext.h"

namespace nuvedb {

// The source file a class asks the return-code service for its codes with.
struct SourceFile {
  const char* path;
  long Success(int line = __builtin_LINE()) const {
    return NUVError::GetReturn(1, nullptr, nullptr, path, line);
  }
  long Failure(int line = __builtin_LINE()) const {
    return NUVError::GetReturn(0, nullptr, nullptr, path, line);
  }
};

// Runs body inside a platform frame. A platform error raised inside is
// flushed once and the answer is false; an object of another kind is handed
// on to the enclosing frame through its Throw.
template <class Body>
bool Guarded(Body&& body) {
  NUVXHContext frame;
  if (frame.Run(std::forward<Body>(body))) return true;
  if (!frame.GetError()->IsAKindOf(NUVError::ClassName())) frame.GetError()->Throw(nullptr, 0, nullptr);
  if (NUVError* error = NUVError::Self(frame.GetError())) Flush(error);
  return false;
}

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

// True when the object is not null and of class T or derived from it.
template <class T>
bool IsKindOf(const NUVBaseUnknown* object) {
  if (!object) return false;
  const NUVMetaClass* meta = object->GetMetaObject();
  return meta && meta->IsAKindOf(T::MetaObject());
}

}  // namespace nuvedb

// Defines the registration operations declared by NUVEDB_DECLARE_CLASS_INFO.
#define NUVEDB_DEFINE_CLASS_INFO(C, Base)                                                              \
  NUVMetaClass* C::meta_object = nullptr;                                                              \
  NUVMetaClass* C::MetaObject() { return nuvedb::RetrieveMeta(meta_object, #C, &Base::MetaObject, sizeof(C)); } \
  NUVMetaClass* C::GetMetaObject() const { return MetaObject(); }                                      \
  const GUID& C::ClassId() { return MetaObject()->GetClassId(); }                                      \
  const char* C::ClassName() { return MetaObject()->IsA(); }                                           \
  const char* C::IsA() const { return MetaObject()->IsA(); }                                           \
  int C::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); }                   \
  NUVBaseUnknown* C::CreateItself() { return nuvedb::CreateNothing(); }

// Members shared by every error class: the empty message table, Setup and
// Self.
#define NUVEDB_DEFINE_ERROR_MEMBERS(C)                                                     \
  const unsigned int C::errorTableLength = 0;                                              \
  const NUVErrDsc C::errorTable[1] = {};                                                   \
  void C::GetErrorTable(unsigned int* length, const NUVErrDsc** table) {                   \
    *length = errorTableLength;                                                            \
    *table = errorTable;                                                                   \
  }                                                                                        \
  C* C::Setup(const char* file, int line) {                                                \
    NUVError::Setup(file, line);                                                           \
    return this;                                                                           \
  }                                                                                        \
  C* C::Self() { return this; }

namespace nuvedb {

// Holds one reference obtained for an operation's own work and releases it
// on every path, the unwinding of a raised error included.
template <class T>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() { Reset(); }
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // The slot an out-argument writes the reference into.
  T** out() { return &pointer_; }
  void** out_void() { return reinterpret_cast<void**>(&pointer_); }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }
  // Hands the reference over to the caller.
  T* release() { return std::exchange(pointer_, nullptr); }

 private:
  T* pointer_ = nullptr;
};

}  // namespace nuvedb

namespace nuvedb {

// Writes a non-empty name to out and succeeds; fails for an empty one,
// leaving out alone.
inline long ReadName(const SourceFile& source, const NUVUnicodeString& name, NUVUnicodeString& out) {
  if (name.HasNoCharacter()) return source.Failure();
  out = name;
  return source.Success();
}

}  // namespace nuvedb

#include "NUVListPtrNUVBaseUnknown.h"

namespace nuvedb {

// Appends each non-null entry of source that is a T, with a reference.
template <class T>
void AppendKindOf(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  const int size = source.Size();
  target.Reserve(target.Size() + size);
  for (int i = 1; i <= size; ++i) {
    NUVBaseUnknown* entry = source[i];
    if (!IsKindOf<T>(entry)) continue;
    entry->AddRef();
    target.Append(entry);
  }
}

// Appends every non-null entry of source to target, with a reference.
inline void AppendWithReferences(const NUVListPtrNUVBaseUnknown& source, NUVListPtrNUVBaseUnknown& target) {
  target.Reserve(target.Size() + source.Size());
  for (int i = 1; i <= source.Size(); ++i) {
    if (!source[i]) continue;
    source[i]->AddRef();
    target.Append(source[i]);
  }
}

// Takes one more reference on every non-null entry.
inline void AddRefAll(const NUVListPtrNUVBaseUnknown& list) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list[i]) list[i]->AddRef();
  }
}

// Releases every non-null entry, then empties the list.
inline void ReleaseAll(NUVListPtrNUVBaseUnknown& list) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list[i]) list[i]->Release();
  }
  list.RemoveAll(NUVCollec::FreeMemory);
}

}  // namespace nuvedb

#include <vector>

namespace nuvedb {

// Releases every row of a chain, gathered along the next links before any
// row is released; empties the index and the head link.
template <class Row, class Next>
void ReleaseChain(Row*& first, std::vector<Row*>& index, Next next) {
  std::vector<Row*> chain;
  chain.reserve(index.size());
  for (Row* row = first; row; row = next(row)) chain.push_back(row);
  for (Row* row : chain) row->Release();
  first = nullptr;
  index.clear();
}

}  // namespace nuvedb

#include "NUVIUnknownListImpl.h"

namespace nuvedb {

// A new, empty interface list holding its only reference for the caller;
// null when the allocation answers null.
inline NUVIUnknownList* NewUnknownList() {
  NUVIUnknownList* list = nullptr;
  if (auto* created = new NUVIUnknownListImpl) {
    created->QueryInterface(IID_NUVIUnknownList, reinterpret_cast<void**>(&list));
    created->Release();
  }
  return list;
}

// A list of base objects each held with a reference of the operation's
// own; releases them and empties the list when it goes, on every path.
class HeldList {
 public:
  HeldList() = default;
  HeldList(const HeldList&) = delete;
  HeldList& operator=(const HeldList&) = delete;
  ~HeldList() { ReleaseAll(list_); }
  NUVListPtrNUVBaseUnknown& get() { return list_; }
  const NUVListPtrNUVBaseUnknown& operator*() const { return list_; }

 private:
  NUVListPtrNUVBaseUnknown list_;
};

}  // namespace nuvedb
