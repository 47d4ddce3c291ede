#pragma once
#include "NUVEdbPlainError.h"

// A workpackage error.
NUVEDB_PLAIN_ERROR_CLASS(NUVEdbWPError)
