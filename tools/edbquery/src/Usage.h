#pragma once

// The version --version prints: the project's, given by the build.
#ifndef EDBQUERY_VERSION
#define EDBQUERY_VERSION "0.1.0"
#endif
inline constexpr const char* kEdbQueryVersion = EDBQUERY_VERSION;

// The text --help prints.
const char* UsageText();
