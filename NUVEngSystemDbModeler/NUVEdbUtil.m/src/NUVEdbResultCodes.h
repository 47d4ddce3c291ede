#pragma once
// Result codes of the library's operations; not installed.
#include "NUVError.h"

namespace nuvedb {

// The source file a class asks the return-code service for its codes with.
struct SourceFile {
  const char* path;
  long Success(int line = __builtin_LINE()) const {
    return NUVError::GetReturn(1, nullptr, nullptr, path, line);
  }
  long Failure(int line = __builtin_LINE()) const {
    return NUVError::GetReturn(0, nullptr, nullptr, path, line);
  }
};

}  // namespace nuvedb
