#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "NUVEdbAnyData.h"
#include "NUVInternalError.h"
#include "NUVMetaClass.h"
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

struct FlushRecord {
  int count = 0;
  unsigned int lastId = 0;
};

void Record(NUVError* error, void* context) {
  auto* record = static_cast<FlushRecord*>(context);
  ++record->count;
  record->lastId = error->GetId();
}

}  // namespace

TEST(GuardedBody, APlatformErrorIsFlushedOnceAndGivesTheFailureCode) {
  auto list = NUVRef<NUVIUnknownList>::Adopt(new RaisingList(false));
  NUVEdbAnyData value(EdbTypeObjectList);
  FlushRecord record;
  NUVFlushHandler previous = NUVSetFlushHandler(Record, &record);
  auto platformList = NUVRef<NUVIUnknownList>::Adopt(new RaisingList(true));
  EXPECT_LT(value.SetData(static_cast<const NUVIUnknownList*>(platformList.get())), 0);
  EXPECT_EQ(record.count, 1);
  EXPECT_EQ(record.lastId, 77U);

  // Another kind passes on to the caller's frame, unflushed.
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { value.SetData(static_cast<const NUVIUnknownList*>(list.get())); }));
  ASSERT_NE(frame.GetError(), nullptr);
  EXPECT_FALSE(frame.GetError()->IsAKindOf(NUVError::ClassName()));
  EXPECT_EQ(record.count, 1);
  NUVSetFlushHandler(previous, nullptr);
}

TEST(GuardedBody, RegistrationFromManyThreadsGivesOneMetaObject) {
  std::vector<NUVMetaClass*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&seen, i] { seen[i] = NUVEdbAnyData::MetaObject(); });
  }
  for (std::thread& t : threads) t.join();
  for (NUVMetaClass* meta : seen) EXPECT_EQ(meta, seen[0]);
  EXPECT_EQ(fct_RetrieveMetaObject("NUVEdbAnyData", NUVClassKindComponent, nullptr, "", "", 0), seen[0]);
}
