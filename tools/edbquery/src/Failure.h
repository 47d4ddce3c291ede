#pragma once
#include <stdexcept>
#include <string>

#include "NUVHostFailure.h"

// Exit codes, for scripts that retry: 0 success; 1 the statement failed
// (refused, a timeout, read-only, authentication); 2 a usage error; 3 the
// database could not be reached, or the connection was lost with nothing
// applied; 4 retryable (a serialization failure or deadlock): run it
// again; 5 the outcome of a commit is unknown.
inline constexpr int kDatabaseError = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kUnreachable = 3;
inline constexpr int kRetryable = 4;
inline constexpr int kCommitUnknown = 5;

// The exit code for a failure of the host of that kind.
inline int ExitCodeFor(NUVHostFailureKind kind) {
  switch (kind) {
    case NUVHostFailureKind::Unreachable:
      return kUnreachable;
    case NUVHostFailureKind::Retryable:
      return kRetryable;
    case NUVHostFailureKind::CommitUnknown:
      return kCommitUnknown;
    default:
      return kDatabaseError;
  }
}

// Ends a run: the message (one line, without the program name) and the
// exit code it ends with.
class Failure : public std::runtime_error {
 public:
  Failure(int exitCode, const std::string& message) : std::runtime_error(message), exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

// The message, led by the path unless it names it already.
inline std::string WithPath(const std::string& path, const std::string& message) {
  return message.find(path) == std::string::npos ? path + ": " + message : message;
}
