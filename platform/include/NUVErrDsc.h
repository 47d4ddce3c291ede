#pragma once

// One entry of an error class's message table.
struct NUVErrDsc {
  unsigned int id;
  const char* msgId;
  const char* text;
};
