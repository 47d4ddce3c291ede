#include <gtest/gtest.h>

#include "NUVListPtrNUVIEdbAppWorkpackage.h"
#include "NUVXHContext.h"

namespace {
// A workpackage whose reference count the test can read.
class TestWorkpackage : public NUVIEdbAppWorkpackage {
 public:
  explicit TestWorkpackage(int order) : order(order) {}
  long QueryInterface(const GUID&, void**) override { return NUV_E_NOINTERFACE; }
  unsigned long AddRef() override { return ++references; }
  unsigned long Release() override { return --references; }
  int order;
  unsigned long references = 1;
};

int ByOrder(NUVIEdbAppWorkpackage* a, NUVIEdbAppWorkpackage* b) {
  return static_cast<TestWorkpackage*>(a)->order - static_cast<TestWorkpackage*>(b)->order;
}
}  // namespace

TEST(WorkpackageList, ForwardsEveryOperationAndTakesNoReferences) {
  TestWorkpackage w1(1), w2(2), w3(3);
  NUVListPtrNUVIEdbAppWorkpackage list;
  for (TestWorkpackage* w : {&w3, &w1, &w1, &w2}) list.Append(w);
  list.QuickSort(ByOrder);
  ASSERT_EQ(list.Size(), 4);
  const NUVIEdbAppWorkpackage* expected[] = {&w1, &w1, &w2, &w3};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(list[i], expected[i - 1]) << i;

  NUVListPtrNUVIEdbAppWorkpackage copy(list);
  NUVListPtrNUVIEdbAppWorkpackage& alias = copy;
  copy = alias;
  EXPECT_TRUE(copy == list);
  copy.Swap(1, 4);
  EXPECT_EQ(copy[1], &w3);
  EXPECT_TRUE(copy != list);
  copy.Append(list);
  EXPECT_EQ(copy.Size(), 8);
  copy.RemoveAll(NUVCollec::FreeMemory);
  EXPECT_EQ(copy.Size(), 0);

  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { (void)list[5]; }));
  for (const TestWorkpackage* w : {&w1, &w2, &w3}) EXPECT_EQ(w->references, 1U);
}
