#include "NUVEdbUtil.h"

int KORVEL_KIT2_INTERNAL_NUVEdbUtil() { return 1; }
