// Record storage: cells in creation order across growing chunks, zeroed cells from both kinds
// of chunk, and pools that destroy freed and live records once each.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "support/pool.h"

namespace {

using Page = std::array<uint64_t, 512>;  // 4 KiB: the second chunk is big enough for pages

bool all_zero(const void *p, size_t n) {
  const unsigned char *b = static_cast<const unsigned char *>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i]) return false;
  return true;
}

TEST(Slab, CellsInOrderAcrossChunks) {
  Slab<uint32_t> s(4);
  std::vector<uint32_t *> cells;
  for (uint32_t i = 0; i < 100; ++i) {
    cells.push_back(s.take());
    *cells.back() = i;
  }
  EXPECT_GT(s.chunks(), 1u);
  std::vector<uint32_t> seen;
  s.for_each([&](uint32_t *p) { seen.push_back(*p); });
  ASSERT_EQ(seen.size(), 100u);
  for (uint32_t i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
}

TEST(Slab, ZeroedCellsFromHeapAndPages) {
  // The first chunk (8 cells, 32 KiB) comes from the heap, whose memory may hold old data;
  // the second (16 cells, 64 KiB) from the system's pages.
  Slab<Page> s(8);
  for (int i = 0; i < 40; ++i) {
    Page *p = s.take_zeroed();
    EXPECT_TRUE(all_zero(p, sizeof *p)) << "cell " << i;
    std::memset(p, 0xA5, sizeof *p);  // a later cell must not see this
  }
  EXPECT_EQ(s.chunks(), 3u);
}

TEST(Pool, FreesOnceAndDestroysLiveRecords) {
  auto counter = std::make_shared<int>(0);
  {
    Pool<std::shared_ptr<int>, 2> pool;
    std::shared_ptr<int> *a = pool.make(counter);
    std::shared_ptr<int> *b = pool.make(counter);
    EXPECT_EQ(counter.use_count(), 3);
    pool.free(a);
    EXPECT_EQ(counter.use_count(), 2);
    pool.free(a);  // a second free changes nothing
    EXPECT_EQ(pool.live(), 1u);
    (void)b;
  }
  EXPECT_EQ(counter.use_count(), 1);  // the pool destroyed both live records
}

}  // namespace
