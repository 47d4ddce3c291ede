#pragma once
#include "IUnknown.h"

// Our own identifier: the interface had none of its own.
inline constexpr GUID IID_NUVIEdbAppWorkpackage{
    0x6D2E8A13, 0x47B5, 0x4C0F, {0x9E, 0x31, 0x2A, 0x5C, 0x77, 0x08, 0xB4, 0x19}};

// The host's workpackage; the library only holds pointers to it in lists.
class NUVIEdbAppWorkpackage : public IUnknown {
 protected:
  ~NUVIEdbAppWorkpackage() = default;
};
