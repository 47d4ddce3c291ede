#pragma once
#include <string>
#include <string_view>

// The key texts a host accepts and gives out. A key is written into
// statements as it stands, between apostrophes (':K') or bare (:K), so it
// must not be able to end a string literal, start a comment or add words to
// the statement: it holds 1 to 256 of the ASCII letters, digits, '_', '.'
// and '-', with no hyphen first, last or beside another hyphen. Such a key
// is also unchanged by blank encoding, so it reads the same in every text
// mode, and holds no "+", the separator of key lists.
namespace nuvhost {

// The longest key text hosts accept, in bytes.
inline constexpr std::size_t kMaxKeyLength = 256;

// True when hosts accept the key text.
inline bool IsAcceptedKey(std::string_view key) {
  if (key.empty() || key.size() > kMaxKeyLength) return false;
  if (key.front() == '-' || key.back() == '-') return false;
  char previous = 0;
  for (const char c : key) {
    const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '_' && c != '.' && c != '-') return false;
    if (c == '-' && previous == '-') return false;
    previous = c;
  }
  return true;
}

// The one-line reason a key is refused, naming it (control chars written
// as `\xHH`, and cut after 64 chars).
inline std::string KeyRefusal(std::string_view classType, std::string_view key) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : key.substr(0, 64)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 0x0F];
  }
  if (key.size() > 64) shown += "...";
  return std::string(classType) + " key '" + shown +
         "' refused: a key holds 1 to 256 letters, digits, '_', '.' or single inner '-'";
}

}  // namespace nuvhost
