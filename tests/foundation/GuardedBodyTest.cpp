#include <gtest/gtest.h>

#include <vector>

#include "NUVEdbAnyData.h"
#include "NUVInternalError.h"
#include "NUVRef.h"
#include "NUVXHContext.h"

namespace {

// An interface list whose Count raises: a platform error, or an object of
// another kind.
class RaisingList : public NUVBaseUnknown, public NUVIUnknownList {
 public:
  explicit RaisingList(bool platformKind) : platformKind_(platformKind) {}
  long QueryInterface(const GUID& iid, void** out) override {
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  long Count(unsigned int*) const override {
    if (platformKind_) NUVRaise(new NUVInternalError(77, "Raised", "Test"), __FILE__, __LINE__);
    NUVRaise(new NUVException, __FILE__, __LINE__);
  }
  long Item(unsigned int, IUnknown**) const override { return NUV_E_FAIL; }
  long Add(unsigned int, IUnknown*) override { return NUV_E_FAIL; }

 private:
  bool platformKind_;
};

std::vector<unsigned int> flushed;  // the identifier of each error flushed
void Record(NUVError* error, void*) { flushed.push_back(error->GetId()); }

}  // namespace

// A platform error raised in a guarded body is fetched, flushed once and
// answered with the failure code; another kind passes on to the caller's
// frame, unflushed.
TEST(GuardedBody, APlatformErrorIsFlushedOnceAndGivesTheFailureCode) {
  NUVEdbAnyData value(EdbTypeObjectList);
  const NUVFlushHandler previous = NUVSetFlushHandler(Record, nullptr);
  auto platformList = NUVRef<NUVIUnknownList>::Adopt(new RaisingList(true));
  EXPECT_LT(value.SetData(static_cast<const NUVIUnknownList*>(platformList.get())), 0);
  EXPECT_EQ(flushed, std::vector<unsigned int>{77U});

  auto list = NUVRef<NUVIUnknownList>::Adopt(new RaisingList(false));
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { value.SetData(static_cast<const NUVIUnknownList*>(list.get())); }));
  ASSERT_NE(frame.GetError(), nullptr);
  EXPECT_FALSE(frame.GetError()->IsAKindOf(NUVError::ClassName()));
  EXPECT_EQ(flushed.size(), 1U);
  NUVSetFlushHandler(previous, nullptr);
}
