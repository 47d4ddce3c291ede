#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "NUVObjectPool.h"

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
