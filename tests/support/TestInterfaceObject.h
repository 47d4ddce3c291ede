#pragma once
#include "NUVBaseUnknown.h"

// A platform object that answers one interface besides IUnknown, so that
// each test class need not write its own QueryInterface.
template <class Interface, const GUID& kInterfaceId>
class TestInterfaceObject : public NUVBaseUnknown, public Interface {
 public:
  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == kInterfaceId) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return NUV_S_OK;
    }
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
};
