#pragma once
#include <string>

#include "NUVError.h"

// The message of the error recorded for a failure code, or the fallback
// when none is recorded or it has no text.
inline std::string RecordedMessage(long code, const std::string& fallback) {
  NUVError* error = NUVError::NUVGetLastError(code, nullptr);
  if (!error) return fallback;
  std::string message = error->GetMessageText();
  error->Release();
  return message.empty() ? fallback : message;
}
