#pragma once
#include <vector>

#include "Options.h"

// Reads the values of the parameters that name a file: a string's value is
// the file's whole text, as it is; a string list's items are its lines (a
// last line needs no line break). Throws Failure (a usage error) when a
// file cannot be read, or a list without --cond gets another number of
// items than of names.
void ReadValueFiles(std::vector<ParameterOption>& parameters);
