#pragma once
// Guarded bodies: a body run inside a platform frame; not installed.
#include <utility>

#include "NUVEdbResultCodes.h"
#include "NUVError.h"
#include "NUVXHContext.h"

namespace nuvedb {

// Runs body inside a platform frame. A platform error raised inside is
// flushed once and the answer is false; an object of another kind is handed
// on to the enclosing frame through its Throw.
template <class Body>
bool Guarded(Body&& body) {
  NUVXHContext frame;
  if (frame.Run(std::forward<Body>(body))) return true;
  if (!frame.GetError()->IsAKindOf(NUVError::ClassName())) frame.GetError()->Throw(nullptr, 0, nullptr);
  if (NUVError* error = NUVError::Self(frame.GetError())) Flush(error);
  return false;
}

// Runs body, which returns a result code, inside a platform frame and
// answers that code. A platform error raised inside is flushed once and the
// answer is the source's failure code; an object of another kind is handed
// on to the enclosing frame. A return inside body gives the operation's
// code, so each path of the body says what the operation answers.
template <class Body>
long GuardedCode(const SourceFile& source, Body&& body, int line = __builtin_LINE()) {
  long code = 0;
  if (!Guarded([&] { code = std::forward<Body>(body)(); })) return source.Failure(line);
  return code;
}

}  // namespace nuvedb
