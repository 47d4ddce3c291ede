#pragma once
#include <string_view>

#include "NUVHostRegistry.h"

// The SQLite host as the registry knows it whether or not the build holds
// it: its name, and any text taken as a database file's path.
inline NUVHostPlugin NUVSqliteHostDescription() {
  NUVHostPlugin plugin;
  plugin.name = "SQLite";
  plugin.claim = [](std::string_view target) {
    return target.empty() ? NUVHostClaim::None : NUVHostClaim::AsFilePath;
  };
  return plugin;
}

// Registers the SQLite host: it opens an existing database file (the text
// mode from the file's mark unless the options choose, lockTimeoutMs as
// SQLite's busy timeout), writes the sample to a new file and opens the
// sample in memory.
void NUVSqliteHostRegister();
