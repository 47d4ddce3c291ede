#pragma once
#include "NUVHostBackend.h"

// How a connection to a PostgreSQL server is used.
struct NUVPostgresOpenOptions {
  // Server databases hold texts as they are: plain unless said otherwise.
  NUVHostTextMode textMode = NUVHostTextMode::Plain;
  // The most a statement may run, in milliseconds; 0 for no limit.
  int statementTimeoutMs = 0;
};
