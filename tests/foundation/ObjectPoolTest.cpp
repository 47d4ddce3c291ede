// The object pool: distinct blocks of every size and, under
// AddressSanitizer, poison on what it does not hand out, so that a use after
// free inside the pool is reported (other builds skip that test).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "NUVObjectPool.h"

#if defined(__SANITIZE_ADDRESS__)
#define NUV_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NUV_TEST_ASAN 1
#endif
#endif

#if defined(NUV_TEST_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Every size, pooled or not and none at all, gives distinct blocks that
// hold what is written to them, and takes them back.
TEST(ObjectMemory, PoolBlocksOfEverySizeAreDistinct) {
  for (size_t size : {0, 1, 16, 17, 255, 256, 257, 4096}) {
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 64; ++i) {
      blocks.push_back(static_cast<unsigned char*>(NUVObjectPool::Allocate(size)));
      ASSERT_NE(blocks.back(), nullptr) << size;
      std::memset(blocks.back(), i, size);
    }
    EXPECT_EQ(std::set<unsigned char*>(blocks.begin(), blocks.end()).size(), blocks.size()) << size;
    for (int i = 0; i < 64; ++i) {
      const auto mark = static_cast<unsigned char>(i);
      EXPECT_TRUE(std::all_of(blocks[i], blocks[i] + size, [mark](unsigned char c) { return c == mark; }))
          << size;
      NUVObjectPool::Free(blocks[i], size);
    }
  }
}

#if defined(NUV_TEST_ASAN)
bool Poisoned(const void* address) { return __asan_address_is_poisoned(address) != 0; }
#endif

// A block is accessible from its first to its last requested byte while it
// is handed out, and not at all once it is given back; the slack of its
// size class stays poisoned throughout. Pooled sizes from the smallest
// class to the largest: larger ones go to the general heap, where the
// sanitizer watches them itself.
TEST(PoolPoison, OnlyTheBytesHandedOutAreAccessible) {
#if !defined(NUV_TEST_ASAN)
  GTEST_SKIP() << "only an AddressSanitizer build poisons the pool";
#else
  for (const size_t size : {8, 24, 100, 256}) {
    SCOPED_TRACE(size);
    void* older = NUVObjectPool::Allocate(size);
    auto* block = static_cast<char*>(NUVObjectPool::Allocate(size));
    ASSERT_NE(older, nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(Poisoned(block));
    EXPECT_FALSE(Poisoned(block + size - 1));
    if (size % 16 != 0) EXPECT_TRUE(Poisoned(block + size));
    NUVObjectPool::Free(older, size);
    NUVObjectPool::Free(block, size);
    EXPECT_TRUE(Poisoned(block));
    EXPECT_TRUE(Poisoned(block + size - 1));
    // A block given back waits behind the free blocks of its class that were
    // given back before it, so the next allocation does not revive it.
    void* next = NUVObjectPool::Allocate(size);
    EXPECT_NE(next, block);
    EXPECT_TRUE(Poisoned(block));
    NUVObjectPool::Free(next, size);
  }
#endif
}

}  // namespace
