#include "long_value_writer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::uint32_t kInline = 0x80000000u;
constexpr std::uint32_t kOneRow = 0x40000000u;
constexpr std::uint32_t kChain = 0;

LongValueHeader header(std::size_t length, std::uint32_t kind, std::uint32_t first_row) {
  LongValueHeader h{};
  store_u32(h.data(), static_cast<std::uint32_t>(length) | kind);
  store_u32(h.data() + 4, first_row);
  return h;
}

}  // namespace

LongValueHeader LongValueWriter::inline_header(std::size_t length) {
  return header(length, kInline, 0);
}

std::uint32_t LongValueWriter::add_shared(std::span<const std::uint8_t> row) {
  if (open_ && !page_.fits(row.size())) flush();
  if (!open_) {
    page_.reset(DataPage::kLongValueOwner);
    page_number_ = layout_.any_page(file_);
    open_ = true;
  }
  return page_row(page_number_, page_.add(row));
}

std::uint32_t LongValueWriter::add_alone(std::span<const std::uint8_t> row) {
  DataPage page(file_.format(), DataPage::kLongValueOwner);
  page.add(row);
  const std::uint32_t number = layout_.any_page(file_);
  file_.write(number, page.bytes());
  return page_row(number, 0);
}

LongValueHeader LongValueWriter::store(std::span<const std::uint8_t> data) {
  if (data.size() > kMaxLength) throw std::logic_error("long value too long");
  const std::size_t chunk = file_.format().long_value_chunk();
  if (data.size() <= chunk) {
    const bool alone = layout_.long_value_alone();
    return header(data.size(), kOneRow, alone ? add_alone(data) : add_shared(data));
  }

  // The last, shorter chunk goes on the shared page first, so that the chain's full chunks,
  // each alone on a page, can point forward to it.
  const std::size_t full = (data.size() - 1) / chunk;
  const std::size_t tail = data.size() - full * chunk;
  std::vector<std::uint8_t> row(4 + chunk);
  store_u32(row.data(), 0);
  std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(full * chunk), tail, row.begin() + 4);
  const std::uint32_t tail_row = add_shared(std::span(row.data(), 4 + tail));

  const std::vector<std::uint32_t> pages = layout_.chain_pages(file_, static_cast<std::uint32_t>(full));
  DataPage chunk_page(file_.format());
  for (std::size_t i = 0; i < full; ++i) {
    const std::uint32_t next = i + 1 < full ? page_row(pages[i + 1], 0) : tail_row;
    store_u32(row.data(), next);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(i * chunk), chunk, row.begin() + 4);
    chunk_page.reset(DataPage::kLongValueOwner);
    chunk_page.add(row);
    file_.write(pages[i], chunk_page.bytes());
  }
  return header(data.size(), kChain, page_row(pages.front(), 0));
}

void LongValueWriter::flush() {
  if (!open_) return;
  file_.write(page_number_, page_.bytes());
  open_ = false;
}

}  // namespace tarvik::archive_gen
