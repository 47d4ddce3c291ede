#include <gtest/gtest.h>

#include "NUVBaseUnknown.h"
#include "NUVError.h"

namespace {

// Fails the test after which base objects are left alive or released too often.
class LiveObjectCheck : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { before_ = NUVBaseUnknown::LiveObjectCount(); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    NUVError::ClearRecordedErrors();
    const long after = NUVBaseUnknown::LiveObjectCount();
    if (after != before_) {
      ADD_FAILURE() << "live base objects: " << before_ << " before the test, " << after << " after";
    }
  }
  long before_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new LiveObjectCheck);
  return RUN_ALL_TESTS();
}
