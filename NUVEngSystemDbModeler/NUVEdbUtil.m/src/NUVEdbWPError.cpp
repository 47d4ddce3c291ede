#include "NUVEdbWPError.h"

#include "NUVEdbRegistration.h"

NUVEDB_DEFINE_PLAIN_ERROR(NUVEdbWPError)
