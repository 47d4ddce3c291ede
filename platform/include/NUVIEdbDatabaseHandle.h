#pragma once
#include "IUnknown.h"
#include "NUVUnicodeString.h"

inline constexpr GUID IID_NUVIEdbDatabaseHandle{
    0x5C0A7DB4, 0xE2F1, 0x4E41, {0xAB, 0xCA, 0x88, 0x36, 0xEF, 0x7E, 0x53, 0x44}};

// One open database.
class NUVIEdbDatabaseHandle : public IUnknown {
 public:
  // Writes the database's name.
  virtual long GetDatabaseName(NUVUnicodeString& name) = 0;
  // Writes 1 when the database refuses writes, else 0.
  virtual long IsReadOnly(unsigned char& readOnly) = 0;
  // Makes a host object for the class type and key without a database
  // round trip; writes it with a reference for the receiver.
  virtual long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                    IUnknown** object) = 0;

 protected:
  ~NUVIEdbDatabaseHandle() = default;
};
