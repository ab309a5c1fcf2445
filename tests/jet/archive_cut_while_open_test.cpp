// An archive cut short by another program after it was opened: the pages it lost give the
// damaged-archive error. (On Windows the archive is opened so that nobody can write it meanwhile.)
#include <gtest/gtest.h>

#include <fstream>

#include "archive/archive_error.h"
#include "archive/corpus.h"
#include "archive/jet/page_source.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using archive::jet::PageSource;

constexpr const char* kArchive = "fxjollois-donnees/Comptoir2000.mdb";

TEST(PageReadingTest, AFileCutShortAfterOpeningGivesDamagedArchiveForTheLostPages) {
  const auto bytes = read_bytes(corpus_file(kArchive));
  ASSERT_GT(bytes.size(), 100000u) << "corpus file missing: " << corpus_file(kArchive);
  TempDir dir;
  const auto path = [&] {
    const auto copy = dir / "copia.mdb";
    std::ofstream out(copy, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return copy;
  }();
  const auto source = PageSource::open(path.string());
  const std::uint32_t last = source->page_count() - 1;
  ASSERT_GT(last, 40u);
  // Of the block of pages 16 to 31 only page 16 is read before the cut, as a scan of a table
  // that owns nothing else there would read it.
  ASSERT_NO_THROW(source->page(16, 1u));
  // Pages far from the catalog's block, not read yet: the cut loses them.
  std::filesystem::resize_file(path, 20 * source->page_size());
  // The rest of that block is read when first asked for: the pages the file still holds come,
  // the ones it lost give the error.
  EXPECT_NO_THROW(source->page(18));
  EXPECT_NO_THROW(source->page(16));
  try {
    source->page(25);
    FAIL() << "a page the file no longer holds was read from a block begun before the cut";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3049);
  }
  EXPECT_NO_THROW(source->page(3));
  try {
    source->page(last);
    FAIL() << "a page the file no longer holds was read";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3049);
  }
  try {
    source->page(20);  // the first page past the cut, in a block of its own
    FAIL() << "a page the file no longer holds was read";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3049);
  }
}

}  // namespace
}  // namespace tarvik::test
