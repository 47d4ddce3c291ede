#pragma once
#include "NUVEdbUtilExport.h"

// Marker of the library: answers 1. Nothing in the library calls it.
extern "C" NUVEDBUTIL_API int KORVEL_KIT2_INTERNAL_NUVEdbUtil();
