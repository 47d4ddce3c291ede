#include "TestObject.h"

long TestObject::QueryInterface(const GUID& iid, void** out) {
  if (out && iid == IID_TestSecond) {
    *out = static_cast<TestSecond*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}
