#pragma once
#include <string>
#include <vector>

// The texts of a connection string that may be its password, in every form
// a message could quote them: the value of a password keyword (quoted or
// not, escapes undone and as written, and each word of an unquoted value
// that runs on past a blank), and a URI's password, from its user part or
// its query, as written and with its percent-escapes undone. Found
// whether or not the string parses; empty for a string without one.
std::vector<std::string> NUVPgPasswordTexts(const std::string& conninfo);

// The message with every occurrence of each secret that stands apart from
// letters and digits replaced by "***", longest secrets first.
std::string NUVPgMasked(std::string message, std::vector<std::string> secrets);

// The message with every occurrence of the secret (a connection's
// password) replaced by "***"; as it is for an empty or null secret.
std::string NUVPgRedacted(std::string message, const char* secret);

// The server's or libpq's text on one line: line breaks and the blanks
// around them become "; ", and trailing blanks go.
std::string NUVPgOneLine(const std::string& text);
