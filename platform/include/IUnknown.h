#pragma once
#include <cstdint>

#include "GUID.h"

// Codes of the interface operations; negative means failure.
inline constexpr long NUV_S_OK = 0;
inline constexpr long NUV_E_NOINTERFACE = static_cast<long>(INT32_C(-2147467262));
inline constexpr long NUV_E_POINTER = static_cast<long>(INT32_C(-2147467261));
inline constexpr long NUV_E_FAIL = static_cast<long>(INT32_C(-2147467259));
inline constexpr long NUV_E_INVALIDARG = static_cast<long>(INT32_C(-2147024809));

inline constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The root interface: interface query and reference counting.
class IUnknown {
 public:
  // Writes the interface asked for with a new reference, or null and a
  // negative code.
  virtual long QueryInterface(const GUID& iid, void** out) = 0;
  // Takes one more reference; answers the new count.
  virtual unsigned long AddRef() = 0;
  // Gives one reference back; the last one destroys the object. Answers
  // the count left.
  virtual unsigned long Release() = 0;

 protected:
  ~IUnknown() = default;
};
