#pragma once
#include <string_view>

#include "NUVHostRegistry.h"

// True when the text names a server: a postgresql:// or postgres:// URI,
// or a keyword=value connection string (its first word, of lower-case
// letters and '_', followed by '=').
inline bool NUVPostgresNamesServer(std::string_view text) {
  if (text.rfind("postgresql://", 0) == 0 || text.rfind("postgres://", 0) == 0) return true;
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  for (size_t i = 0; i < equals; ++i) {
    const char c = text[i];
    const bool word = (c >= 'a' && c <= 'z') || c == '_' || (c == ' ' && i + 1 == equals);
    if (!word) return false;
  }
  return true;
}

// The PostgreSQL host as the registry knows it whether or not the build
// holds it: its name, and the connection strings and URIs it claims.
inline NUVHostPlugin NUVPostgresHostDescription() {
  NUVHostPlugin plugin;
  plugin.name = "PostgreSQL";
  plugin.reachesStandbys = true;
  plugin.claim = [](std::string_view target) {
    return NUVPostgresNamesServer(target) ? NUVHostClaim::Exactly : NUVHostClaim::None;
  };
  return plugin;
}

// Registers the PostgreSQL host: it connects (texts plain unless the
// options choose; a lock timeout of 0 fails at once; without a connect
// timeout, PGCONNECT_TIMEOUT's when set, else 10 s) and writes the sample's
// tables into a database that has none of them. Messages start with
// "server: " and never name the connection string.
void NUVPostgresHostRegister();
