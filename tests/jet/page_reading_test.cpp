// Reading an archive by position through the bounded page cache: pages come out as the file holds
// them however the cache lets blocks go, a page handed out stays valid after its block is let go,
// and the cache never grows past its budget.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "archive/corpus.h"
#include "archive/jet/page_cache.h"
#include "archive/jet/page_source.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using archive::jet::Page;
using archive::jet::PageCache;
using archive::jet::PageSource;

constexpr const char* kArchive = "fxjollois-donnees/Comptoir2000.mdb";

std::filesystem::path writable_copy(const TempDir& dir, const std::vector<std::uint8_t>& bytes) {
  const auto path = dir / "copia.mdb";
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Page n as handed out holds exactly the file's bytes of page n.
void expect_page_of_file(const Page& page, std::uint32_t n, const std::vector<std::uint8_t>& file,
                         std::size_t size) {
  ASSERT_EQ(page.bytes.size(), size);
  ASSERT_EQ(std::memcmp(page.bytes.data(), file.data() + std::size_t(n) * size, size), 0) << "page " << n;
}

PageCache::Block block_of(std::uint8_t fill) {
  auto block = std::make_shared<archive::jet::BlockBytes>(16);
  block->data[0] = fill;
  block->present = 1;
  return block;
}

TEST(PageCacheTest, StaysWithinItsBudgetAndKeepsRecentlyUsedBlocks) {
  PageCache cache;
  cache.reset(100, PageCache::kBudgetBytes / 4);  // room for four blocks
  ASSERT_EQ(cache.capacity(), 4u);
  for (std::uint32_t b = 0; b < 4; ++b) cache.insert(b, block_of(std::uint8_t(b)));
  // The clock clears every mark on its first turn and lets block 0 go; block 1 is then used
  // again, so the next one to go is block 2, not block 1.
  cache.insert(4, block_of(4));
  EXPECT_EQ(cache.find(0), nullptr);
  ASSERT_NE(cache.find(1), nullptr);
  cache.insert(5, block_of(5));
  EXPECT_NE(cache.find(1), nullptr);
  EXPECT_EQ(cache.find(2), nullptr);
  for (std::uint32_t b = 6; b < 100; ++b) cache.insert(b, block_of(std::uint8_t(b)));
  EXPECT_EQ(cache.cached_blocks(), 4u);
  // A smaller budget of its own (the second thread's cache) holds fewer blocks.
  PageCache small;
  small.reset(100, PageCache::kBudgetBytes / 4, PageCache::kBudgetBytes / 2);
  for (std::uint32_t b = 0; b < 100; ++b) small.insert(b, block_of(std::uint8_t(b)));
  EXPECT_EQ(small.capacity(), 2u);
  EXPECT_EQ(small.cached_blocks(), 2u);
  ASSERT_NE(cache.find(99), nullptr);
  EXPECT_EQ((*cache.find(99))->data[0], 99);
}

TEST(PageCacheTest, ABlockHandedOutOutlivesItsEviction) {
  PageCache cache;
  cache.reset(10, PageCache::kBudgetBytes / 2);
  cache.insert(0, block_of(7));
  const PageCache::Block held = *cache.find(0);
  for (std::uint32_t b = 1; b < 10; ++b) cache.insert(b, block_of(0));
  EXPECT_EQ(cache.find(0), nullptr);
  EXPECT_EQ(held->data[0], 7);
}

TEST(PageReadingTest, PagesAreTheFilesBytesInAnyOrder) {
  const auto bytes = read_bytes(corpus_file(kArchive));
  ASSERT_GT(bytes.size(), 100000u) << "corpus file missing: " << corpus_file(kArchive);
  TempDir dir;
  const auto source = PageSource::open(writable_copy(dir, bytes).string());
  const std::size_t size = source->page_size();
  // Backwards, so that every block is read for a page at its end first.
  std::vector<Page> held;
  for (std::uint32_t n = source->page_count() - 1; n >= 1; --n) {
    const Page page = source->page(n);
    expect_page_of_file(page, n, bytes, size);
    if (n % 7 == 0) held.push_back(page);
  }
  for (const Page& page : held) EXPECT_NE(page.owner, nullptr);
}


TEST(PageCacheTest, BuffersAreReusedOnlyWhenNoPageHoldsThem) {
  PageCache cache;
  cache.reset(10, PageCache::kBudgetBytes / 2);  // two blocks
  EXPECT_EQ(cache.evict_for_reuse(), nullptr);   // room left: nothing to let go
  cache.insert(0, block_of(0));
  cache.insert(1, block_of(1));
  const PageCache::Block held = *cache.find(0);  // a page of block 0 still in use

  // The clock picks block 0, which is held: its bytes are left to the holder, not reused.
  EXPECT_EQ(cache.evict_for_reuse(), nullptr);
  EXPECT_EQ(cache.find(0), nullptr);
  cache.insert(2, block_of(2));
  EXPECT_EQ(held->data[0], 0);

  // Block 1 is held by nobody: its buffer comes back for the next read.
  const auto reused = cache.evict_for_reuse();
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(reused->data[0], 1);
  EXPECT_EQ(cache.find(1), nullptr);
  cache.insert(3, reused);
  EXPECT_EQ(cache.cached_blocks(), 2u);
  EXPECT_NE(cache.find(2), nullptr);
  EXPECT_NE(cache.find(3), nullptr);
}

TEST(PageCacheTest, NewBlocksArePiecesOfOneBufferSizedForTheBudgetOrTheFile) {
  constexpr std::size_t kBlock = PageCache::kBudgetBytes / 4;
  for (const std::uint32_t file_blocks : {2u, 10u}) {
    PageCache cache;
    cache.reset(file_blocks, kBlock);
    const std::size_t pieces = std::min<std::size_t>(file_blocks, 4);
    std::vector<PageCache::Block> blocks;
    for (std::size_t i = 0; i < pieces + 1; ++i) blocks.push_back(cache.new_block());
    for (std::size_t i = 0; i < pieces; ++i) {
      // Pieces follow one another in one buffer, and every byte of each can be written.
      EXPECT_EQ(blocks[i]->data, blocks[0]->data + i * kBlock) << file_blocks << " blocks, piece " << i;
      EXPECT_EQ(blocks[i]->capacity, kBlock);
      std::memset(blocks[i]->data, int(i), kBlock);
    }
    // Past the buffer, a block has bytes of its own.
    EXPECT_NE(blocks[pieces]->owned, nullptr);
    EXPECT_EQ(blocks[pieces]->capacity, kBlock);
    for (std::size_t i = 0; i < pieces; ++i) EXPECT_EQ(blocks[i]->data[kBlock - 1], i);
  }
}

// A scan asks for only its own pages of a block; the block's other pages are read later, when
// asked for, into the same block without disturbing the pages already handed out.
TEST(PageReadingTest, PagesReadPartOfABlockAtATimeAreStillTheFilesBytes) {
  const auto bytes = read_bytes(corpus_file(kArchive));
  ASSERT_GT(bytes.size(), 100000u) << "corpus file missing: " << corpus_file(kArchive);
  TempDir dir;
  const auto source = PageSource::open(writable_copy(dir, bytes).string());
  auto expect_file_bytes = [&](const Page& page, std::uint32_t n) {
    expect_page_of_file(page, n, bytes, source->page_size());
  };
  // Pages asked for with masks of every shape: one page, scattered pages, runs across short and
  // long gaps; then every page of the file in a shuffled order, each checked against the file.
  std::uint32_t seed = 12345;
  auto next_random = [&]() { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  std::vector<Page> held;
  for (std::uint32_t n = 1; n < source->page_count(); n += 3) {
    const std::uint32_t wanted = next_random() & PageCache::kWholeBlock;
    const Page page = source->page(n, wanted);
    expect_file_bytes(page, n);
    held.push_back(page);
  }
  std::vector<std::uint32_t> order;
  for (std::uint32_t n = 1; n < source->page_count(); ++n) order.push_back(n);
  for (std::size_t i = order.size() - 1; i > 0; --i) std::swap(order[i], order[next_random() % (i + 1)]);
  for (const std::uint32_t n : order) expect_file_bytes(source->page(n, 1u << (next_random() % 16)), n);
  // The pages handed out first are still whole, though their blocks were filled in since.
  for (std::size_t i = 0; i < held.size(); ++i) expect_file_bytes(held[i], 1 + 3 * std::uint32_t(i));
}

}  // namespace
}  // namespace tarvik::test

namespace tarvik::test {
namespace {

// A query opened ahead reads pages on a second thread while the first reads its own: each thread
// has its cache, and the pages both hand out are the file's bytes, whatever the other is doing.
TEST(PageReadingTest, TwoThreadsReadingAtOnceGetTheFilesBytes) {
  const auto bytes = read_bytes(corpus_file(kArchive));
  ASSERT_GT(bytes.size(), 100000u) << "corpus file missing: " << corpus_file(kArchive);
  TempDir dir;
  const auto source = PageSource::open(writable_copy(dir, bytes).string());
  const std::size_t size = source->page_size();
  std::vector<std::size_t> wrong(2, 0);
  auto read_all_pages = [&](std::size_t thread, bool backwards) {
    for (int round = 0; round < 3; ++round) {
      for (std::uint32_t i = 1; i < source->page_count(); ++i) {
        const std::uint32_t n = backwards ? source->page_count() - i : i;
        const Page page = source->page(n, 1u << (n % 16));
        if (std::memcmp(page.bytes.data(), bytes.data() + std::size_t(n) * size, size) != 0) ++wrong[thread];
      }
    }
  };
  std::thread other(read_all_pages, 1, true);
  read_all_pages(0, false);
  other.join();
  EXPECT_EQ(wrong[0], 0u);
  EXPECT_EQ(wrong[1], 0u);
}

}  // namespace
}  // namespace tarvik::test
