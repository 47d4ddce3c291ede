#pragma once
#include "NUVBaseUnknown.h"

// A second interface that test objects offer besides IUnknown.
inline constexpr GUID IID_TestSecond{0x7E57AB1E, 0x0001, 0x4000, {1, 2, 3, 4, 5, 6, 7, 8}};

class TestSecond : public IUnknown {
 public:
  virtual int Tag() const = 0;

 protected:
  ~TestSecond() = default;
};

// A host-side object with a reference count tests can read.
class TestObject : public NUVBaseUnknown, public TestSecond {
 public:
  explicit TestObject(int tag = 0) : tag_(tag) {}
  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == IID_TestSecond) {
      *out = static_cast<TestSecond*>(this);
      AddRef();
      return NUV_S_OK;
    }
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  int Tag() const override { return tag_; }
  // The current number of references.
  unsigned long References() {
    AddRef();
    return Release();
  }

 private:
  int tag_;
};
