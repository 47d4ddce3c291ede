#pragma once
#include <stdexcept>
#include <string>

// Exit codes: 0 success, 1 a database error, 2 a usage error.
inline constexpr int kDatabaseError = 1;
inline constexpr int kUsageError = 2;

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
