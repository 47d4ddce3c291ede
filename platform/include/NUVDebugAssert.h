#pragma once
// NUV_DEBUG_ASSERT(condition): in a debug build, stops the process with the
// file, the line and the condition when the condition is false. With NDEBUG
// defined (every optimised build) it compiles to nothing: the condition is
// not evaluated, so it may call functions that exist only to check.
//
// It states an invariant the code relies on, never checks input: a false
// condition is a fault in this code, not an error to report.

#include "NUVPlatformExport.h"

#if defined(NDEBUG)
#define NUV_DEBUG_ASSERT(condition) static_cast<void>(sizeof((condition) ? true : false))
#else
// Writes where and what failed to stderr and aborts; never returns.
[[noreturn]] NUVPLATFORM_API void NUVDebugAssertFailed(const char* condition, const char* file,
                                                       int line) noexcept;

#define NUV_DEBUG_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : NUVDebugAssertFailed(#condition, __FILE__, __LINE__))
#endif
