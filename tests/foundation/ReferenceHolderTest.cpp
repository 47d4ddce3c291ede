#include <gtest/gtest.h>

#include <type_traits>

#include "NUVRef.h"
#include "TestObject.h"

static_assert(!std::is_copy_constructible_v<NUVRef<TestObject>>);
static_assert(!std::is_copy_assignable_v<NUVRef<TestObject>>);
static_assert(std::is_nothrow_move_constructible_v<NUVRef<TestObject>>);
static_assert(std::is_nothrow_move_assignable_v<NUVRef<TestObject>>);
static_assert(std::is_convertible_v<NUVRef<TestObject>&&, NUVRef<NUVBaseUnknown>>);
static_assert(!std::is_convertible_v<NUVRef<NUVBaseUnknown>&&, NUVRef<TestObject>>);

// Each use of a holder on an object that starts with its creation
// reference (which the use keeps or adopts) gives the count while the
// holder lives, and the count after it has gone.
TEST(Holder, CountsEveryReferenceOnce) {
  using Ref = NUVRef<TestObject>;
  const struct {
    const char* name;
    unsigned long (*use)(TestObject*);  // answers the count while held
    unsigned long whileHeld;
    unsigned long afterwards;  // the creation reference included when kept
  } cases[] = {
      {"Adopt keeps the count", [](TestObject* o) { return Ref::Adopt(o)->References(); }, 2, 0},
      {"Take adds one", [](TestObject* o) { return Ref::Take(o)->References(); }, 3, 1},
      {"HandOver gives the reference back",
       [](TestObject* o) { return NUVAdopt(o).HandOver()->References(); }, 2, 1},
      {"a move leaves one owner",
       [](TestObject* o) {
         auto first = NUVAdopt(o);
         NUVRef<NUVBaseUnknown> second(std::move(first));
         return first ? 0UL : o->References();  // NOLINT(bugprone-use-after-move)
       },
       2, 0},
      {"a move assignment releases what was held",
       [](TestObject* o) {
         auto target = Ref::Take(o);
         target = Ref::Take(o);
         return o->References();
       },
       3, 1},
      {"a self move keeps the reference",
       [](TestObject* o) {
         auto held = Ref::Take(o);
         auto& alias = held;
         held = std::move(alias);
         return held ? o->References() : 0UL;
       },
       3, 1},
      {"the out slot releases what was held and receives",
       [](TestObject* o) {
         auto held = Ref::Take(o);
         TestObject** slot = held.out();
         if (*slot) return 0UL;  // the slot must start empty
         o->AddRef();            // an operation hands one out
         *slot = o;
         return o->References();
       },
       3, 1},
      {"Reset adopts and releases the old",
       [](TestObject* o) {
         auto held = Ref::Take(o);
         o->AddRef();
         held.Reset(o);
         return o->References();
       },
       3, 1},
  };
  for (const auto& c : cases) {
    auto* object = new TestObject;
    object->AddRef();  // the test's own, so the object outlives the case
    EXPECT_EQ(c.use(object), c.whileHeld) << c.name;
    EXPECT_EQ(object->References(), c.afterwards + 1) << c.name;
    while (object->Release() > 0) {
    }
  }
}

TEST(Holder, NullHoldsNothingOnEveryPath) {
  NUVRef<TestObject> held = nullptr;
  EXPECT_FALSE(held);
  EXPECT_EQ(held.HandOver(), nullptr);
  held.Reset();
  EXPECT_EQ(NUVRef<TestObject>::Take(nullptr).get(), nullptr);
  EXPECT_EQ(*held.out(), nullptr);
}
