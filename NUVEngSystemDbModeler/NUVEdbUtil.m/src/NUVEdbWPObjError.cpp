#include "NUVEdbWPObjError.h"

#include "NUVEdbSupport.h"

NUVEDB_DEFINE_PLAIN_ERROR(NUVEdbWPObjError)
