// A damaged long value: the length stored in its header is not trusted for the buffer. A chain
// that ends long before that length is damage (3049), found with no more memory than the links it
// actually has.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "archive/jet/data_page.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/long_value.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/usage_map.h"
#include "archive/corpus.h"
#include "support/allocation_probe.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::jet::JetFile;

constexpr std::size_t kJet4Page = 4096;

// The header of the first OLE value of MSP_PROJECTS stored as a chain of LVAL rows.
std::vector<std::uint8_t> first_chained_ole_header(const JetFile& file) {
  auto def = file.table("MSP_PROJECTS");
  const auto& pages = file.pages();
  auto data_pages = archive::jet::read_usage_map(pages, def.owned_pages_map);
  if (data_pages.empty()) throw std::runtime_error("MSP_PROJECTS has no data page");
  archive::jet::DataPage page(pages.page(data_pages[0]), pages.format(), data_pages[0]);
  std::vector<archive::jet::Field> fields;
  archive::jet::RowLayout(def, pages.format()).split(page.row(0).bytes, fields);
  for (std::size_t i = 0; i < def.columns.size(); ++i)
    if (def.columns[i].type == archive::FieldType::Ole && fields[i].bytes.size() >= 12 &&
        (fields[i].bytes[3] & 0xC0) == 0)
      return {fields[i].bytes.begin(), fields[i].bytes.begin() + 12};
  throw std::runtime_error("no chained OLE value in MSP_PROJECTS");
}

TEST(LongValueDamage, AChainShorterThanItsStoredLengthIs3049WithoutReservingThatLength) {
  auto bytes = read_bytes(corpus_file("jackcess/test2V2000.mdb"));
  std::vector<std::uint8_t> header = first_chained_ole_header(*JetFile::from_memory(bytes, "x.mdb"));
  const std::uint32_t first_link = archive::jet::load_u32(header.data() + 4);

  // The first link's pointer to the next becomes 0: the chain ends after one row.
  const std::size_t page_base = std::size_t(first_link >> 8) * kJet4Page;
  const std::size_t entry = page_base + 14 + 2 * (first_link & 0xFF);
  const std::size_t row_at = page_base + ((bytes[entry] | (bytes[entry + 1] << 8)) & 0x1FFF);
  for (int i = 0; i < 4; ++i) bytes[row_at + i] = 0;

  // A length as large as the file allows (a larger one is refused before any reading).
  const std::uint32_t claimed = std::uint32_t(bytes.size() - kJet4Page);
  for (int i = 0; i < 3; ++i) header[i] = std::uint8_t(claimed >> (8 * i));
  header[3] = std::uint8_t((claimed >> 24) & 0x3F);  // storage kind 0: a chain

  auto file = JetFile::from_memory(bytes, "x.mdb");
  AllocationProbe probe;
  try {
    archive::jet::read_long_value(file->pages(), header);
    FAIL() << "a chain shorter than its length was read";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3049);
  }
  // One link holds at most a page; anything near the claimed length was reserved on trust.
  EXPECT_LT(probe.largest(), 2 * kJet4Page) << "claimed length " << claimed;
  EXPECT_GT(claimed, 16 * kJet4Page);
}

}  // namespace
}  // namespace tarvik::test
