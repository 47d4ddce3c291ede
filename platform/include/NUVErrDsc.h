#pragma once

// One entry of an error class's message table.
struct NUVErrDsc {
  unsigned int id;     // the error identifier the entry is for
  const char* msgId;   // its message identifier
  const char* text;    // its message text
};
