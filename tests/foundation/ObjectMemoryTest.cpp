#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVObjectPool.h"

namespace {

// Objects of a pooled small and medium size and, every eighth, one beyond
// the pooled sizes; each payload holds its mark, so overlapping memory shows.
struct Objects {
  template <size_t N>
  struct Marked final : NUVBaseUnknown {
    explicit Marked(unsigned char m) : mark(m) { std::memset(payload, m, N); }
    bool Intact() const {
      return std::all_of(payload, payload + N, [&](unsigned char c) { return c == mark; });
    }
    unsigned char mark;
    unsigned char payload[N];
  };
  std::vector<Marked<8>*> small;
  std::vector<Marked<100>*> medium;
  std::vector<Marked<1000>*> large;

  long Make(int count, unsigned char mark) {
    for (int i = 0; i < count; ++i) {
      small.push_back(new Marked<8>(mark));
      medium.push_back(new Marked<100>(mark));
      if (i % 8 == 0) large.push_back(new Marked<1000>(mark));
    }
    return 2L * count + (count + 7) / 8;
  }
  template <class F>
  bool All(F f) const {
    return std::all_of(small.begin(), small.end(), f) && std::all_of(medium.begin(), medium.end(), f) &&
           std::all_of(large.begin(), large.end(), f);
  }
  bool Intact() const {
    return All([](const auto* o) { return o->Intact(); });
  }
  void Release() {
    All([](auto* o) { return o->Release(), true; });
    small.clear();
    medium.clear();
    large.clear();
  }
};

// Takes `count` pool blocks of `size` bytes, marks each with its number and
// answers whether all are distinct and still hold their mark after
// `whileHeld` ran; then frees them.
bool CarveDistinctBlocks(
    size_t size, size_t count, const std::function<void()>& whileHeld = [] {}) {
  std::vector<unsigned char*> blocks;
  for (size_t i = 0; i < count; ++i) {
    blocks.push_back(static_cast<unsigned char*>(NUVObjectPool::Allocate(size)));
    if (!blocks.back()) return false;
    std::memset(blocks.back(), static_cast<int>(i % 251), size);
  }
  whileHeld();
  bool intact = std::set<unsigned char*>(blocks.begin(), blocks.end()).size() == count;
  for (size_t i = 0; i < count; ++i) {
    const auto mark = static_cast<unsigned char>(i % 251);
    intact =
        intact && std::all_of(blocks[i], blocks[i] + size, [mark](unsigned char c) { return c == mark; });
    NUVObjectPool::Free(blocks[i], size);
  }
  return intact;
}

}  // namespace

// Every size, pooled or not and none at all, gives distinct blocks that
// hold what is written to them, and takes them back.
TEST(ObjectMemory, PoolBlocksOfEverySizeAreDistinct) {
  for (size_t size : {0, 1, 16, 17, 255, 256, 257, 4096}) EXPECT_TRUE(CarveDistinctBlocks(size, 64)) << size;
}

// A thread that carves megabytes passes through slabs of every size the
// pool takes: no two blocks overlap across them, and where the pool maps
// its slabs beside the heap, it counts exactly the bytes carved.
TEST(ObjectMemory, BlocksCarvedAcrossGrowingSlabsAreDistinctAndCounted) {
  constexpr size_t kBytes = 256;  // the largest pooled class: slabs hold whole blocks
  constexpr size_t kBlocks = 8 * 1024 * 1024 / kBytes;
  std::thread carver([&] {
    const size_t before = NUVObjectPool::MappedBytesInUse();
    EXPECT_TRUE(CarveDistinctBlocks(kBytes, kBlocks, [&] {
      const size_t carved = NUVObjectPool::MappedBytesInUse() - before;
      EXPECT_TRUE(carved == 0 || carved == kBlocks * kBytes) << carved;
    }));
  });
  carver.join();
}

TEST(ObjectMemory, ObjectsMayBeReleasedOnAnotherThreadAndOutliveTheirMaker) {
  const long live = NUVBaseUnknown::LiveObjectCount();
  const long allocations = NUVBaseUnknown::AllocationCount();
  long made = 0;
  for (int round = 0; round < 4; ++round) {
    Objects early, kept, again;
    std::thread maker([&] { made += early.Make(2000, static_cast<unsigned char>(0x40 + round)); });
    maker.join();  // the maker's blocks outlive its thread
    std::thread releaser([&] {
      made += kept.Make(500, 0x77);
      early.Release();  // blocks join this thread's lists, then the shared ones
    });
    releaser.join();
    made += again.Make(2000, 0x55);  // reuses the blocks given back above
    std::set<const void*> addresses(kept.medium.begin(), kept.medium.end());
    addresses.insert(again.medium.begin(), again.medium.end());
    EXPECT_EQ(addresses.size(), kept.medium.size() + again.medium.size());
    EXPECT_TRUE(kept.Intact());
    EXPECT_TRUE(again.Intact());
    kept.Release();
    again.Release();
  }
  // Counted on every thread, those that have ended included.
  EXPECT_EQ(NUVBaseUnknown::AllocationCount() - allocations, made);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}
