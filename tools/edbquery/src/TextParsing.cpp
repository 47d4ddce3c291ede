#include "TextParsing.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// True when the text cannot start a number: empty or a leading blank,
// which strtol and strtod would skip silently.
bool BadStart(const std::string& text) {
  return text.empty() || std::isspace(static_cast<unsigned char>(text.front()));
}

}  // namespace

NumberStatus ParseInt(const std::string& text, int& value) {
  if (BadStart(text)) return NumberStatus::Malformed;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size()) return NumberStatus::Malformed;
  if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return NumberStatus::OutOfRange;
  value = static_cast<int>(parsed);
  return NumberStatus::Ok;
}

NumberStatus ParseDouble(const std::string& text, double& value) {
  if (BadStart(text)) return NumberStatus::Malformed;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return NumberStatus::Malformed;
  // Overflow gives an infinity, underflow a zero; a subnormal result keeps
  // a value and is taken.
  if (errno == ERANGE && (std::isinf(parsed) || parsed == 0)) return NumberStatus::OutOfRange;
  if (!std::isfinite(parsed)) return NumberStatus::Malformed;
  value = parsed;
  return NumberStatus::Ok;
}

std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == ',' || text[i + 1] == '\\')) {
      items.back() += text[++i];
    } else if (c == ',') {
      items.emplace_back();
    } else {
      items.back() += c;
    }
  }
  return items;
}

std::string OneLine(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    // U+0080 to U+009F, which some terminals obey as controls (U+009B
    // starts a cursor movement as ESC [ does).
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      line += "\\u00";
      line += kDigits[next >> 4];
      line += kDigits[next & 0x0F];
      ++i;
    } else if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else if (c == '\t') {
      line += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      line += "\\x";
      line += kDigits[byte >> 4];
      line += kDigits[byte & 0x0F];
    } else {
      line += c;
    }
  }
  return line;
}
