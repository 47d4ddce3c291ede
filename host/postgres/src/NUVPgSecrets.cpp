#include "NUVPgSecrets.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "NUVHostTokenWalk.h"

namespace {

bool Blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool Alphanumeric(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The text with its valid percent-escapes undone; others are kept.
std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && NUVHostHexValue(text[i + 1]) >= 0 &&
        NUVHostHexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(NUVHostHexValue(text[i + 1]) * 16 + NUVHostHexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// True when libpq takes the word as a keyword of a connection string.
bool KnownKeyword(std::string_view word) {
  static const std::vector<std::string> keywords = [] {
    std::vector<std::string> known;
    PQconninfoOption* defaults = PQconndefaults();
    for (const PQconninfoOption* option = defaults; option && option->keyword; ++option)
      known.emplace_back(option->keyword);
    PQconninfoFree(defaults);
    return known;
  }();
  return std::find(keywords.begin(), keywords.end(), word) != keywords.end();
}

void AddBothForms(std::vector<std::string>& secrets, std::string_view written) {
  secrets.emplace_back(written);
  secrets.push_back(PercentDecoded(written));
}

// A URI's passwords: after the first ":" of the user part, which ends at
// the first "@" (where the server's address starts) or, for a password
// that holds an "@" itself, at the last one before the query; and the
// value of every password parameter of the query.
void UriPasswords(std::string_view uri, std::vector<std::string>& secrets) {
  const std::string_view rest = uri.substr(uri.find("://") + 3);
  const std::string_view authority = rest.substr(0, rest.find('?'));
  for (const size_t at : {authority.find('@'), authority.rfind('@')}) {
    if (at == std::string_view::npos) continue;
    const std::string_view user = authority.substr(0, at);
    const size_t colon = user.find(':');
    if (colon != std::string_view::npos) AddBothForms(secrets, user.substr(colon + 1));
  }
  const size_t question = rest.find('?');
  if (question == std::string_view::npos) return;
  std::string_view query = rest.substr(question + 1);
  while (!query.empty()) {
    const std::string_view pair = query.substr(0, query.find('&'));
    query.remove_prefix(std::min(query.size(), pair.size() + 1));
    const size_t equals = pair.find('=');
    if (equals != std::string_view::npos && PercentDecoded(pair.substr(0, equals)) == "password")
      AddBothForms(secrets, pair.substr(equals + 1));
  }
}

// Reads keyword=value pairs as libpq does. The password's value is a
// secret; when it was unquoted, so are the words that follow it up to the
// next pair (a blank its writer meant to be part of it), each alone and
// all of them with the value.
void KeywordPasswords(std::string_view text, std::vector<std::string>& secrets) {
  size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && Blank(text[i])) ++i;
  };
  size_t runStart = std::string_view::npos;  // where an unquoted password's value starts
  size_t runEnd = 0;                         // the end of its last word so far
  const auto endRun = [&] {
    if (runStart != std::string_view::npos) secrets.emplace_back(text.substr(runStart, runEnd - runStart));
    runStart = std::string_view::npos;
  };
  while (true) {
    skipBlanks();
    if (i >= text.size()) return endRun();
    const size_t wordStart = i;
    while (i < text.size() && !Blank(text[i]) && text[i] != '=') ++i;
    const std::string_view word = text.substr(wordStart, i - wordStart);
    skipBlanks();
    if (i >= text.size() || text[i] != '=') {
      if (runStart == std::string_view::npos) continue;
      secrets.emplace_back(word);
      runEnd = wordStart + word.size();
      continue;
    }
    // A pair libpq does not know, right after the password, is more of it
    // ("password=my secret=x").
    const bool runsOn = runStart != std::string_view::npos && !KnownKeyword(word);
    if (!runsOn) endRun();
    if (runsOn) secrets.emplace_back(word);
    ++i;
    skipBlanks();
    std::string value;
    const size_t valueStart = i;
    const bool quoted = i < text.size() && text[i] == '\'';
    if (quoted) ++i;
    while (i < text.size() && !(quoted ? text[i] == '\'' : Blank(text[i]))) {
      if (text[i] == '\\' && i + 1 < text.size()) ++i;
      value += text[i++];
    }
    const std::string_view written = text.substr(valueStart, i - valueStart);
    if (quoted && i < text.size()) ++i;
    if (runsOn) {
      secrets.push_back(value);
      secrets.emplace_back(written);
      runEnd = i;
      continue;
    }
    if (word != "password") continue;
    secrets.push_back(value);
    secrets.emplace_back(written);
    if (!quoted) {
      runStart = valueStart;
      runEnd = i;
    }
  }
}

}  // namespace

std::vector<std::string> NUVPgPasswordTexts(const std::string& conninfo) {
  std::vector<std::string> secrets;
  if (conninfo.rfind("postgresql://", 0) == 0 || conninfo.rfind("postgres://", 0) == 0) {
    UriPasswords(conninfo, secrets);
  } else {
    KeywordPasswords(conninfo, secrets);
  }
  return secrets;
}

std::string NUVPgMasked(std::string message, std::vector<std::string> secrets) {
  std::sort(secrets.begin(), secrets.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& secret : secrets) {
    if (secret.empty()) continue;
    for (size_t at = message.find(secret); at != std::string::npos; at = message.find(secret, at + 1)) {
      const bool apartBefore = at == 0 || !Alphanumeric(message[at - 1]) || !Alphanumeric(secret.front());
      const size_t end = at + secret.size();
      const bool apartAfter =
          end == message.size() || !Alphanumeric(message[end]) || !Alphanumeric(secret.back());
      if (!apartBefore || !apartAfter) continue;
      message.replace(at, secret.size(), "***");
    }
  }
  return message;
}

std::string NUVPgRedacted(std::string message, const char* secret) {
  if (!secret || !*secret) return message;
  const std::string hidden(secret);
  for (size_t at = message.find(hidden); at != std::string::npos; at = message.find(hidden, at + 3))
    message.replace(at, hidden.size(), "***");
  return message;
}

std::string NUVPgOneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') {
      line += text[i];
      continue;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    while (i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) ++i;
    if (i + 1 < text.size() && text[i + 1] != '\n') line += "; ";
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}
