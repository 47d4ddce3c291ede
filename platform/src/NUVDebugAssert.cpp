#include "NUVDebugAssert.h"

#include <cstdio>
#include <cstdlib>

// Present in every build, so that code built without NDEBUG links against a
// platform library built with it.
[[noreturn]] NUVPLATFORM_API void NUVDebugAssertFailed(const char* condition, const char* file,
                                                       int line) noexcept;

void NUVDebugAssertFailed(const char* condition, const char* file, int line) noexcept {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
  std::fflush(stderr);
  std::abort();
}
