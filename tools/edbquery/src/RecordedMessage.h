#pragma once
#include <string>

#include "NUVError.h"
#include "NUVRef.h"

// The message of the error recorded for a failure code, or the fallback
// when none is recorded or it has no text.
inline std::string RecordedMessage(long code, const std::string& fallback) {
  const auto error = NUVAdopt(NUVError::NUVGetLastError(code, nullptr));
  if (!error) return fallback;
  const std::string message = error->GetMessageText();
  return message.empty() ? fallback : message;
}
