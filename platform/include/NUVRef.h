#pragma once
// NUVRef<T>: holds one reference on a reference-counted object (anything
// with AddRef and Release) and releases it when it goes, on every path, the
// unwinding of a raised error included.
//
//   auto row = NUVRef<NUVEdbResultTabRow>::Adopt(new NUVEdbResultTabRow);
//                                        // the creation reference, adopted
//   auto kept = NUVRef<IUnknown>::Take(borrowed);   // a new reference
//   NUVRef<NUVIEdbSysObject> object;
//   query->GetObjectFromKey(type, key, object.out());  // handed out to us
//   *result = object.HandOver();         // the caller owns it now
//
// A holder moves but is never copied: a second owner takes its own
// reference with Take.
#include <cstddef>
#include <type_traits>
#include <utility>

template <class T>
class NUVRef {
 public:
  NUVRef() = default;
  // Holds nothing, as the default does.
  NUVRef(std::nullptr_t) {}  // NOLINT(google-explicit-constructor)

  // Holds the reference the caller had; the count is left as it is.
  [[nodiscard]] static NUVRef Adopt(T* pointer) { return NUVRef(pointer); }
  // Takes a reference of its own on a pointer the caller only borrows.
  [[nodiscard]] static NUVRef Take(T* pointer) {
    if (pointer) pointer->AddRef();
    return NUVRef(pointer);
  }

  NUVRef(const NUVRef&) = delete;
  NUVRef& operator=(const NUVRef&) = delete;
  // @{
  // Takes over the other holder's reference; the other holds nothing
  // after. Assignment releases what was held first.
  NUVRef(NUVRef&& other) noexcept : pointer_(other.HandOver()) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  NUVRef(NUVRef<U>&& other) noexcept : pointer_(other.HandOver()) {}  // NOLINT(google-explicit-constructor)
  NUVRef& operator=(NUVRef&& other) noexcept {
    Reset(other.HandOver());
    return *this;
  }
  // @}
  ~NUVRef() { Reset(); }

  // @{
  // The object held, without a reference for the caller; null (or, for *,
  // undefined) when nothing is held.
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  T& operator*() const { return *pointer_; }
  // @}
  // True when an object is held.
  explicit operator bool() const { return pointer_ != nullptr; }

  // The slot an operation that hands out a reference writes it into;
  // releases what was held first.
  [[nodiscard]] T** out() {
    Reset();
    return &pointer_;
  }
  // The same slot typed for QueryInterface.
  [[nodiscard]] void** out_void() { return reinterpret_cast<void**>(out()); }
  // The slot of an operation that may add to what is held or replace it
  // (releasing what it replaces); what is held stays until then.
  [[nodiscard]] T** inout() { return &pointer_; }

  // Gives the reference to the caller, who releases it; holds nothing after.
  [[nodiscard]] T* HandOver() { return std::exchange(pointer_, nullptr); }

  // Releases what is held and adopts the reference the caller had on
  // pointer (null holds nothing).
  void Reset(T* adopted = nullptr) {
    T* old = std::exchange(pointer_, adopted);
    if (old) old->Release();
  }

 private:
  explicit NUVRef(T* pointer) : pointer_(pointer) {}

  T* pointer_ = nullptr;
};

// A holder of the type of pointer that adopts the reference the caller had.
template <class T>
[[nodiscard]] NUVRef<T> NUVAdopt(T* pointer) {
  return NUVRef<T>::Adopt(pointer);
}
