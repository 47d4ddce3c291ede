#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

#include "NUVRef.h"
#include "TestObject.h"

static_assert(!std::is_copy_constructible_v<NUVRef<TestObject>>);
static_assert(!std::is_copy_assignable_v<NUVRef<TestObject>>);
static_assert(std::is_nothrow_move_constructible_v<NUVRef<TestObject>>);
static_assert(std::is_nothrow_move_assignable_v<NUVRef<TestObject>>);
static_assert(std::is_convertible_v<NUVRef<TestObject>&&, NUVRef<NUVBaseUnknown>>);
static_assert(!std::is_convertible_v<NUVRef<NUVBaseUnknown>&&, NUVRef<TestObject>>);

namespace {

// One use of a holder on an object that starts with the creation reference
// (which the case keeps or adopts) and what the count is while the holder
// lives and after it has gone.
struct HolderCase {
  const char* name;
  std::function<unsigned long(TestObject*)> use;  // the count while held
  unsigned long whileHeld;
  unsigned long afterwards;  // the creation reference included when kept
};

void PrintTo(const HolderCase& c, std::ostream* os) { *os << c.name; }

class Holder : public testing::TestWithParam<HolderCase> {};

TEST_P(Holder, CountsEveryReferenceOnce) {
  auto* object = new TestObject;
  object->AddRef();  // the test's own, so the object outlives the case
  EXPECT_EQ(GetParam().use(object), GetParam().whileHeld);
  EXPECT_EQ(object->References(), GetParam().afterwards + 1);
  while (object->Release() > 0) {
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ownership, Holder,
    testing::Values(HolderCase{"AdoptKeepsTheCount",
                               [](TestObject* o) { return NUVRef<TestObject>::Adopt(o)->References(); }, 2,
                               0},
                    HolderCase{"TakeAddsOne",
                               [](TestObject* o) {
                                 auto held = NUVRef<TestObject>::Take(o);
                                 return held->References();
                               },
                               3, 1},
                    HolderCase{"HandOverGivesTheReferenceBack",
                               [](TestObject* o) {
                                 auto held = NUVAdopt(o);
                                 return held.HandOver()->References();
                               },
                               2, 1},
                    HolderCase{"MoveLeavesOneOwner",
                               [](TestObject* o) {
                                 auto first = NUVAdopt(o);
                                 NUVRef<NUVBaseUnknown> second(std::move(first));
                                 return first ? 0UL : o->References();  // NOLINT(bugprone-use-after-move)
                               },
                               2, 0},
                    HolderCase{"MoveAssignReleasesWhatWasHeld",
                               [](TestObject* o) {
                                 auto target = NUVRef<TestObject>::Take(o);
                                 target = NUVRef<TestObject>::Take(o);
                                 return o->References();
                               },
                               3, 1},
                    HolderCase{"SelfMoveKeepsTheReference",
                               [](TestObject* o) {
                                 auto held = NUVRef<TestObject>::Take(o);
                                 auto& alias = held;
                                 held = std::move(alias);
                                 return held ? o->References() : 0UL;
                               },
                               3, 1},
                    HolderCase{"OutSlotReleasesWhatWasHeldAndReceives",
                               [](TestObject* o) {
                                 auto held = NUVRef<TestObject>::Take(o);
                                 TestObject** slot = held.out();
                                 if (*slot) return 0UL;  // the slot must start empty
                                 o->AddRef();            // an operation hands one out
                                 *slot = o;
                                 return o->References();
                               },
                               3, 1},
                    HolderCase{"ResetAdoptsAndReleasesTheOld",
                               [](TestObject* o) {
                                 auto held = NUVRef<TestObject>::Take(o);
                                 o->AddRef();
                                 held.Reset(o);
                                 return o->References();
                               },
                               3, 1}),
    [](const testing::TestParamInfo<HolderCase>& info) { return info.param.name; });

TEST(Holder, NullHoldsNothingOnEveryPath) {
  NUVRef<TestObject> held = nullptr;
  EXPECT_FALSE(held);
  EXPECT_EQ(held.HandOver(), nullptr);
  held.Reset();
  EXPECT_EQ(NUVRef<TestObject>::Take(nullptr).get(), nullptr);
  EXPECT_EQ(*held.out(), nullptr);
}

}  // namespace
