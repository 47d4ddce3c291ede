#pragma once
#include "NUVEdbPlainError.h"

// An error about an object of a workpackage.
NUVEDB_PLAIN_ERROR_CLASS(NUVEdbWPObjError)
