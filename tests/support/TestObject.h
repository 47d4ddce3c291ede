#pragma once
#include "NUVBaseUnknown.h"
#include "TestInterfaceObject.h"

// A second interface that test objects offer besides IUnknown.
inline constexpr GUID IID_TestSecond{0x7E57AB1E, 0x0001, 0x4000, {1, 2, 3, 4, 5, 6, 7, 8}};

class TestSecond : public IUnknown {
 public:
  virtual int Tag() const = 0;

 protected:
  ~TestSecond() = default;
};

// A host-side object with a reference count tests can read.
class TestObject : public TestInterfaceObject<TestSecond, IID_TestSecond> {
 public:
  explicit TestObject(int tag = 0) : tag_(tag) {}
  int Tag() const override { return tag_; }
  // The current number of references.
  unsigned long References() {
    AddRef();
    return Release();
  }

 private:
  int tag_;
};
