#pragma once
// Name helpers: class types and attribute names read out; not installed.
#include "NUVEdbResultCodes.h"
#include "NUVUnicodeString.h"

namespace nuvedb {

// Writes a non-empty name to out and succeeds; fails for an empty one,
// leaving out alone.
inline long ReadName(const SourceFile& source, const NUVUnicodeString& name, NUVUnicodeString& out) {
  if (name.HasNoCharacter()) return source.Failure();
  out = name;
  return source.Success();
}

}  // namespace nuvedb
