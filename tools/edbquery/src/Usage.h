#pragma once

inline constexpr const char* kEdbQueryVersion = "0.1.0";

// The text --help prints.
const char* UsageText();
