#pragma once
#include "NUVBaseUnknown.h"
#include "NUVUnicodeString.h"

// The metadata tool of the engineering-data utility library; a host
// implements it. Reference counted.
class NUVEdsMetadataTool : public NUVBaseUnknown {
 public:
  // The name of the class type's key attribute; empty when it has none.
  virtual NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) = 0;
};
