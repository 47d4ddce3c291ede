#pragma once
#include "IUnknown.h"
#include "NUVUnicodeString.h"

inline constexpr GUID IID_NUVIEdbDatabaseContext{
    0x8ECE5C99, 0xF222, 0x4DE0, {0xA4, 0x8D, 0x39, 0x45, 0x8B, 0x61, 0x51, 0xC3}};

// The session's current database and its handles.
class NUVIEdbDatabaseContext : public IUnknown {
 public:
  // Writes the name of the current database.
  virtual long GetCurrentDatabase(NUVUnicodeString& database) = 0;
  // Makes the named database the current one; a negative code when the
  // context cannot.
  virtual long SetCurrentDatabase(const NUVUnicodeString& database) = 0;
  // The handle of the named database as the interface iid, with a reference.
  virtual long GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) = 0;

 protected:
  ~NUVIEdbDatabaseContext() = default;
};
