#pragma once
#include "NUVEdbPlainError.h"

// An error of the application layer.
NUVEDB_PLAIN_ERROR_CLASS(NUVEdbAppError)
