#include "NUVEdbWPObjError.h"

#include "NUVEdbRegistration.h"

NUVEDB_DEFINE_PLAIN_ERROR(NUVEdbWPObjError)
