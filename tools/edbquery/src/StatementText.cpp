#include "StatementText.h"

#include <cerrno>
#include <cstring>

#include "Failure.h"

namespace {

// Everything left on the stream; false when reading fails.
bool ReadAll(std::FILE* stream, std::string& text) {
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) text.append(buffer, got);
  return !std::ferror(stream);
}

std::string FileText(const std::string& path) {
  std::string text;
  std::string reason;
  if (!ReadWholeFile(path, text, reason))
    throw Failure(kUsageError, "cannot read statement file " + path + ": " + reason);
  return text;
}

std::string InputText(std::FILE* input) {
  std::string text;
  if (!input || !ReadAll(input, text))
    throw Failure(kUsageError, "cannot read the statement from standard input");
  return text;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text, std::string& reason) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  errno = 0;
  const bool read = ReadAll(file, text);
  const int error = errno;  // a directory opens, and only reading it fails (EISDIR)
  std::fclose(file);
  if (!read) reason = error != 0 ? std::strerror(error) : "read error";
  return read;
}

std::string StatementText(const Options& options, std::FILE* input) {
  std::string text;
  switch (options.source) {
    case StatementSource::File:
      text = FileText(options.statement);
      break;
    case StatementSource::StandardInput:
      text = InputText(input);
      break;
    default:
      text = options.statement;
      break;
  }
  if (text.find('\0') != std::string::npos) throw Failure(kUsageError, "the statement holds a zero byte");
  if (text.find_first_not_of(" \t\r\n\f\v") == std::string::npos)
    throw Failure(kUsageError, "the statement is empty");
  return text;
}
