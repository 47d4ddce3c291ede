#pragma once
#include <cstdint>
#include <optional>

#include "NUVHostBackend.h"

// How a host keeps texts in its database. Encoded: texts are stored in the
// blank-encoded form the library writes into statements (the sample).
// Plain: texts are stored as they are; the host decodes the string literals
// of a statement and hands them to the database as bound values.
using NUVSqliteTextMode = NUVHostTextMode;

// The application id that marks a database holding encoded texts; the
// sample written by NUVSqliteHost::WriteSample carries it.
inline constexpr int32_t kNUVSqliteEncodedApplicationId = 0x4E555645;

// How a database file is opened.
struct NUVSqliteOpenOptions {
  // Unset: encoded when the file carries the encoded application id,
  // plain otherwise.
  std::optional<NUVSqliteTextMode> textMode;
  // Opens without write access: every writing statement is refused.
  bool readOnly = false;
  // How long a statement waits for a lock another connection holds.
  int busyTimeoutMs = 5000;
};
