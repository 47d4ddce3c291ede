#pragma once
#include "IUnknown.h"
#include "NUVUnicodeString.h"

class NUVIEdbSysObject;

// Our own identifier: the interface had none of its own.
inline constexpr GUID IID_NUVIEdbSysQuery2{
    0x3C1B7E52, 0x9A40, 0x4D1E, {0x8F, 0x21, 0x6B, 0x90, 0x13, 0x57, 0xA2, 0x4C}};

// The caller's query interface.
class NUVIEdbSysQuery2 : public IUnknown {
 public:
  // Runs the finished statement; answers its code.
  virtual long ExecuteQuery(const NUVUnicodeString& statement) = 0;
  // Writes the code of the last ExecuteQuery.
  virtual long GetQueryStatus(long& status) const = 0;
  // The object of the class type with the key, with a reference, or a
  // negative code when there is none.
  virtual long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                                NUVIEdbSysObject** object) const = 0;

 protected:
  ~NUVIEdbSysQuery2() = default;
};
