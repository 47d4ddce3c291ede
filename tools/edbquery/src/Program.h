#pragma once
#include <cstdio>
#include <string>

// Runs edbquery on the command line: what it prints on success goes to out,
// the message of a failure (one line, with the program name) to error, as
// does the count of changed rows after a writing statement. Answers the
// exit code; out stays empty unless it is 0.
int RunProgram(int argc, const char* const* argv, std::FILE* input, std::string& out, std::string& error);
