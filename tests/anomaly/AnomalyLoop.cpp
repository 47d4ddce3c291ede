#include "AnomalyLoop.h"

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

long RunAnomalyLoop(const char* operation, const std::function<bool(long n)>& attempt) {
  long n = 1;
  for (; n <= kMaxPoints; ++n) {
    ++cases;
    if (!attempt(n) || testing::Test::HasFatalFailure()) break;
  }
  EXPECT_LE(n, kMaxPoints) << operation << " never completed";
  std::printf("[anomaly] %s: %ld failure points\n", operation, n - 1);
  return n - 1;
}
