#include "archive/jet/data_page.h"

#include <string>

namespace tarvik::archive::jet {

namespace {
constexpr std::uint16_t kOffsetMask = 0x1FFF;
constexpr std::uint16_t kPointerFlag = 0x4000;
constexpr std::uint16_t kDeletedFlag = 0x8000;

std::string where(std::uint32_t page) { return "pagina dati " + std::to_string(page); }
}  // namespace

DataPage::DataPage(Page page, const Format& format, std::uint32_t page_number)
    : page_(std::move(page)), format_(format), page_number_(page_number) {
  if (page_.type() != kDataPageType) throw errors::damaged(where(page_number) + ": tipo errato");
  row_count_ = load_u16(page_.bytes.data() + format_.data_row_count);
  std::size_t table_end = format_.data_row_table + 2 * std::size_t(row_count_);
  if (table_end > page_.bytes.size())
    throw errors::damaged(where(page_number) + ": troppe righe");
}

RowSlot DataPage::row(std::uint16_t row) const {
  if (row >= row_count_)
    throw errors::damaged(where(page_number_) + ": riga " + std::to_string(row) + " inesistente");
  const std::uint8_t* table = page_.bytes.data() + format_.data_row_table;
  std::uint16_t entry = load_u16(table + 2 * row);
  RowSlot slot;
  bool pointer = entry & kPointerFlag, deleted = entry & kDeletedFlag;
  slot.kind = pointer && deleted ? RowKind::Deleted
              : pointer          ? RowKind::Pointer
              : deleted          ? RowKind::MovedCopy
                                 : RowKind::Live;
  if (slot.kind == RowKind::Deleted) return slot;

  std::size_t start = entry & kOffsetMask;
  std::size_t end = row == 0 ? page_.bytes.size() : (load_u16(table + 2 * (row - 1)) & kOffsetMask);
  std::size_t table_end = format_.data_row_table + 2 * std::size_t(row_count_);
  if (start < table_end || start > end || end > page_.bytes.size())
    throw errors::damaged(where(page_number_) + ": riga " + std::to_string(row) +
                          " oltre i limiti della pagina");
  slot.bytes = page_.bytes.subspan(start, end - start);
  return slot;
}

}  // namespace tarvik::archive::jet
