#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVRawCollint.h"

namespace {

// An object whose payload is filled with its own mark, so that two objects
// handed overlapping memory show it.
template <size_t N>
struct Sized final : NUVBaseUnknown {
  explicit Sized(unsigned char mark) : mark(mark) { std::memset(payload, mark, N); }
  bool Intact() const {
    for (unsigned char c : payload) {
      if (c != mark) return false;
    }
    return true;
  }
  unsigned char mark;
  unsigned char payload[N];
};

struct Objects {
  std::vector<Sized<8>*> small;
  std::vector<Sized<100>*> medium;
  std::vector<Sized<1000>*> large;  // beyond the pooled sizes

  // Makes count small and medium objects and every eighth a large one.
  void Make(int count, unsigned char mark) {
    for (int i = 0; i < count; ++i) {
      small.push_back(new Sized<8>(mark));
      medium.push_back(new Sized<100>(mark));
      if (i % 8 == 0) large.push_back(new Sized<1000>(mark));
    }
  }
  bool Intact() const {
    for (auto* o : small)
      if (!o->Intact()) return false;
    for (auto* o : medium)
      if (!o->Intact()) return false;
    for (auto* o : large)
      if (!o->Intact()) return false;
    return true;
  }
  void Release() {
    for (auto* o : small) o->Release();
    for (auto* o : medium) o->Release();
    for (auto* o : large) o->Release();
    small.clear();
    medium.clear();
    large.clear();
  }
};

}  // namespace

TEST(ObjectMemory, ReusedBlocksNeverOverlapLiveObjects) {
  const long live = NUVBaseUnknown::LiveObjectCount();
  Objects first;
  first.Make(3000, 0x11);
  Objects second;
  second.Make(3000, 0x22);
  first.Release();  // their blocks are handed out again below
  Objects third;
  third.Make(5000, 0x33);
  std::set<const void*> addresses;
  for (auto* o : second.medium) addresses.insert(o);
  for (auto* o : third.medium) addresses.insert(o);
  EXPECT_EQ(addresses.size(), second.medium.size() + third.medium.size());
  EXPECT_TRUE(second.Intact());
  EXPECT_TRUE(third.Intact());
  second.Release();
  third.Release();
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}

TEST(ObjectMemory, ObjectsMayBeReleasedOnAnotherThreadAndOutliveTheirMaker) {
  const long live = NUVBaseUnknown::LiveObjectCount();
  const long allocations = NUVBaseUnknown::AllocationCount();
  long made = 0;
  for (int round = 0; round < 4; ++round) {
    Objects early;
    std::thread maker([&] { early.Make(2000, static_cast<unsigned char>(0x40 + round)); });
    maker.join();  // the maker's blocks outlive its thread
    Objects kept;
    std::thread releaser([&] {
      kept.Make(500, 0x77);
      early.Release();  // blocks join this thread's lists, then the shared ones
    });
    releaser.join();
    Objects again;
    again.Make(2000, 0x55);
    EXPECT_TRUE(kept.Intact());
    EXPECT_TRUE(again.Intact());
    made += 2 * (2000 + 500 + 2000) + 250 + 63 + 250;
    kept.Release();
    again.Release();
  }
  // Counted on every thread, those that have ended included.
  EXPECT_EQ(NUVBaseUnknown::AllocationCount() - allocations, made);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}

TEST(ObjectMemory, ListsOfEverySizeKeepTheirItems) {
  // Lists take pooled blocks while short and the general heap beyond.
  for (int size : {1, 3, 31, 32, 33, 500}) {
    NUVRawCollint list;
    for (int round = 0; round < 2; ++round) {
      for (int i = 1; i <= size; ++i) list.Append(i * 3 + round);
      NUVRawCollint copy = list;
      ASSERT_EQ(copy.Size(), size);
      for (int i = 1; i <= size; ++i) ASSERT_EQ(copy[i], i * 3 + round) << size;
      list.RemoveAll(round == 0 ? NUVCollec::FreeMemory : NUVCollec::KeepMemory);
    }
  }
}
