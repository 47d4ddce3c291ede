#pragma once
#include <cstdio>
#include <string>

#include "Options.h"

// The statement the options name: the argument itself, the contents of the
// file, or everything on the input stream. Throws Failure (a usage error)
// when the file cannot be read, or the text is empty, blank or holds a zero
// byte.
std::string StatementText(const Options& options, std::FILE* input);

// Reads the whole file into text; false, with the system's reason ("Is a
// directory", "No such file or directory"), when it cannot.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& reason);
