#pragma once
#include <string>

#include "NUVError.h"
#include "NUVRef.h"

// The message of the error recorded for a failure code; "<no error
// recorded>" when there is none.
inline std::string RecordedText(long code) {
  const auto error = NUVAdopt(NUVError::NUVGetLastError(code, nullptr));
  if (!error) return "<no error recorded>";
  return error->GetMessageText();
}
