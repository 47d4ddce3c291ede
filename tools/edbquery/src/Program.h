#pragma once
#include <cstdio>
#include <string>

// Runs edbquery on the command line: its output goes to output as it is
// made; the message of a failure (one line, with the program name) goes to
// error, as does the count of changed rows after a writing statement.
// Answers the exit code. A run that fails before it has made a quarter of
// a megabyte of output has written nothing.
int RunProgram(int argc, const char* const* argv, std::FILE* input, std::FILE* output, std::string& error);
