#include "AnomalyLoop.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr long kMaxPoints = 10000;
long cases = 0;

// Prints how many cases ran when the whole program ends.
class AnomalySummary : public testing::Environment {
 public:
  void TearDown() override { std::printf("[anomaly] %ld (operation, failure point) cases ran\n", cases); }
};

const testing::Environment* const summary = testing::AddGlobalTestEnvironment(new AnomalySummary);

}  // namespace

long RunAnomalyLoop(const char* operation, const Attempt& attempt) {
  long n = 1;
  for (; n <= kMaxPoints; ++n) {
    ++cases;
    const bool struck = attempt(n);
    if (testing::Test::HasFatalFailure() || !struck) break;
  }
  EXPECT_LE(n, kMaxPoints) << operation << " never completed";
  std::printf("[anomaly] %s: %ld failure points\n", operation, n - 1);
  return n - 1;
}

long AnomalyCases() { return cases; }
