#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

}  // namespace

TEST(ObjectMemory, ReusedBlocksNeverOverlapLiveObjects) {
  Objects first, second, third;
  first.Make(3000, 0x11);
  second.Make(3000, 0x22);
  first.Release();  // their blocks are handed out again below
  third.Make(5000, 0x33);
  std::set<const void*> addresses(second.medium.begin(), second.medium.end());
  addresses.insert(third.medium.begin(), third.medium.end());
  EXPECT_EQ(addresses.size(), second.medium.size() + third.medium.size());
  EXPECT_TRUE(second.Intact());
  EXPECT_TRUE(third.Intact());
  second.Release();
  third.Release();
}

// Every size, pooled or not and none at all, gives distinct blocks that
// hold what is written to them, and takes them back.
TEST(ObjectMemory, PoolBlocksOfEverySizeAreDistinct) {
  for (size_t size :
       {size_t{0}, size_t{1}, size_t{16}, size_t{17}, size_t{255}, size_t{256}, size_t{257}, size_t{4096}}) {
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 64; ++i) {
      auto* block = static_cast<unsigned char*>(NUVObjectPool::Allocate(size));
      ASSERT_NE(block, nullptr) << size;
      std::memset(block, i, size);
      blocks.push_back(block);
    }
    for (int i = 0; i < 64; ++i) {
      EXPECT_TRUE(std::all_of(blocks[i], blocks[i] + size, [i](unsigned char c) { return c == i; })) << size;
    }
    EXPECT_EQ(std::set<unsigned char*>(blocks.begin(), blocks.end()).size(), blocks.size()) << size;
    for (unsigned char* block : blocks) NUVObjectPool::Free(block, size);
  }
}

// A thread that carves megabytes passes through slabs of every size the
// pool takes: no two blocks overlap across them, and where the pool maps
// its slabs beside the heap, it counts exactly the bytes carved.
TEST(ObjectMemory, BlocksCarvedAcrossGrowingSlabsAreDistinctAndCounted) {
  constexpr size_t kBytes = 256;  // the largest pooled class: slabs hold whole blocks
  constexpr size_t kBlocks = 8 * 1024 * 1024 / kBytes;
  std::thread carver([&] {
    const size_t before = NUVObjectPool::MappedBytesInUse();
    std::vector<unsigned char*> blocks;
    for (size_t i = 0; i < kBlocks; ++i) {
      auto* block = static_cast<unsigned char*>(NUVObjectPool::Allocate(kBytes));
      ASSERT_NE(block, nullptr) << i;
      std::memset(block, static_cast<int>(i % 251), kBytes);
      blocks.push_back(block);
    }
    const size_t carved = NUVObjectPool::MappedBytesInUse() - before;
    EXPECT_TRUE(carved == 0 || carved == kBlocks * kBytes) << carved;
    for (size_t i = 0; i < kBlocks; ++i) {
      const auto mark = static_cast<unsigned char>(i % 251);
      ASSERT_TRUE(std::all_of(blocks[i], blocks[i] + kBytes, [mark](unsigned char c) { return c == mark; }))
          << i;
    }
    for (unsigned char* block : blocks) NUVObjectPool::Free(block, kBytes);
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
    made += again.Make(2000, 0x55);
    EXPECT_TRUE(kept.Intact());
    EXPECT_TRUE(again.Intact());
    kept.Release();
    again.Release();
  }
  // Counted on every thread, those that have ended included.
  EXPECT_EQ(NUVBaseUnknown::AllocationCount() - allocations, made);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}
