#pragma once
#include <optional>
#include <string>

#include "Options.h"

// The options of a command line, or the reason it is not one.
struct ParseResult {
  std::optional<Options> options;
  std::string error;  // one line, without the program name; empty on success
};

// Parses the arguments after the program name (argv[1..argc-1]). Pure: it
// reads no file and no stream, and never throws for any input. --help and
// --version end parsing where they stand.
ParseResult ParseArguments(int argc, const char* const* argv);
