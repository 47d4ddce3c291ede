#pragma once
#include "IUnknown.h"
#include "NUVUnicodeString.h"

inline constexpr GUID IID_NUVIEdbSysObject{
    0x4752C50A, 0xFB8C, 0x4207, {0xB2, 0xD8, 0x27, 0xEA, 0x44, 0x59, 0x04, 0xD8}};

// A host object: its key text and class type.
class NUVIEdbSysObject : public IUnknown {
 public:
  // Writes the object's key text.
  virtual long GetObjectKey(NUVUnicodeString& key) const = 0;
  // Writes a name for people to read.
  virtual long GetObjectName(NUVUnicodeString& name) const = 0;
  // Writes the object's class type.
  virtual long GetObjectClassType(NUVUnicodeString& classType) const = 0;

 protected:
  ~NUVIEdbSysObject() = default;
};
