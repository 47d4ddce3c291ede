#pragma once
// Guarded bodies: a body run inside a platform frame; not installed.
#include <utility>

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

}  // namespace nuvedb
