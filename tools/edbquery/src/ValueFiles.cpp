#include "ValueFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Failure.h"
#include "StatementText.h"

namespace {

std::string WholeFile(const ParameterOption& entry) {
  std::string text;
  std::string reason;
  if (!ReadWholeFile(entry.valueFile, text, reason))
    throw Failure(kUsageError, entry.label + ": cannot read " + entry.valueFile + ": " + reason);
  return text;
}

// The file's lines, each without its line end ("\n" or "\r\n"); a last
// line without a line end counts too.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r' && end < text.size()) --end;
    lines.push_back(text.substr(start, end - start));
    start = next;
  }
  return lines;
}

}  // namespace

void ReadValueFiles(std::vector<ParameterOption>& parameters) {
  for (ParameterOption& entry : parameters) {
    if (entry.valueFile.empty()) continue;
    const std::string text = WholeFile(entry);
    if (entry.kind != ParameterKind::StringList) {
      entry.texts = {text};
      continue;
    }
    entry.texts = Lines(text);
    if (entry.condition.empty() && entry.names.size() != entry.texts.size()) {
      throw Failure(kUsageError, entry.label + ": " + std::to_string(entry.names.size()) + " names for " +
                                     std::to_string(entry.texts.size()) + " lines of " + entry.valueFile);
    }
  }
}
