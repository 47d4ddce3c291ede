// The project's debug assertion: it stops a debug build with the failed
// condition and where it stands; an optimised build (NDEBUG) evaluates
// nothing.
#include <gtest/gtest.h>

#include "NUVDebugAssert.h"

#if !defined(NDEBUG)
TEST(DebugAssertDeath, AFalseConditionStopsWithItsTextAndPlace) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const int two = 2;
  NUV_DEBUG_ASSERT(two == 2);  // a true condition passes
  EXPECT_DEATH(NUV_DEBUG_ASSERT(two == 3), "DebugAssertTest.cpp:[0-9]+: invariant failed: two == 3");
}
#endif
