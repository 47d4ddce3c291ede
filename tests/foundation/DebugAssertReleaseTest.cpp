// NUV_DEBUG_ASSERT as every optimised build sees it: NDEBUG is defined
// before anything is included, so this file checks the release form
// whatever the build type.
#define NDEBUG 1  // NOLINT(cppcoreguidelines-macro-usage)
#include <gtest/gtest.h>

#include "NUVDebugAssert.h"

TEST(DebugAssertRelease, TheConditionIsNeverEvaluated) {
  int calls = 0;
  const auto counted = [&calls] { return ++calls < 0; };  // false, were it called
  NUV_DEBUG_ASSERT(counted());
  EXPECT_EQ(calls, 0);
}
