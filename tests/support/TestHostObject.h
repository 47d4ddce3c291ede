#pragma once
#include <string>
#include <utility>

#include "NUVIEdbSysObject.h"
#include "TestHost.h"
#include "TestInterfaceObject.h"

// A host object with a key and a class type. It holds a reference on its
// host, so the host outlives it, and answers through the host's script.
class TestHostObject : public TestInterfaceObject<NUVIEdbSysObject, IID_NUVIEdbSysObject> {
 public:
  TestHostObject(TestHost& host, std::string classType, std::string key)
      : host_(host), classType_(std::move(classType)), key_(std::move(key)) {
    host_.AddRef();
    ++live_;
  }
  TestHostObject(const TestHostObject&) = delete;  // a copy would give the host back twice
  TestHostObject& operator=(const TestHostObject&) = delete;
  ~TestHostObject() override {
    --live_;
    host_.Release();
  }

  long GetObjectKey(NUVUnicodeString& key) const override { return Answer(key, key_); }
  long GetObjectName(NUVUnicodeString& name) const override { return Answer(name, classType_ + ":" + key_); }
  long GetObjectClassType(NUVUnicodeString& type) const override { return Answer(type, classType_); }

  // The number of test host objects alive.
  static long Live() { return live_; }

 private:
  long Answer(NUVUnicodeString& out, const std::string& text) const {
    if (host_.Enter(host_.objects) == HostScript::Answer::Fail) return NUV_E_FAIL;
    out = NUVUnicodeString(std::string_view(text));
    return NUV_S_OK;
  }

  static inline long live_ = 0;
  TestHost& host_;
  std::string classType_;
  std::string key_;
};
