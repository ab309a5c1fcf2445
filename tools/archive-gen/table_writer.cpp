#include "table_writer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "field_encoding.h"
#include "little_endian.h"
#include "table_check.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::FieldType;

TableWriter::TableWriter(PageFile& file, PhysicalLayout& physical, const TableSpec& spec,
                         std::uint32_t tdef_page)
    : file_(file),
      physical_(physical),
      spec_(spec),
      layout_(lay_out_table(spec, file.format(), physical.table_history(spec))),
      tdef_page_(tdef_page),
      key_columns_(primary_key_columns(spec)),
      in_key_(spec.columns.size(), false),
      keys_(key_columns_),
      packer_(layout_, file.format(), physical),
      long_values_(file, physical),
      page_(file.format(), tdef_page),
      overflow_(file.format(), tdef_page) {
  for (std::size_t c : key_columns_) in_key_[c] = true;
}

void TableWriter::refuse(const std::string& column, const std::string& why) const {
  std::string where = "table \"" + spec_.name + "\", row " + std::to_string(row_count_ + 1);
  if (!column.empty()) where += ", column \"" + column + "\"";
  throw std::runtime_error(where + ": " + why);
}

void TableWriter::check_values(std::span<const Value> row, bool deleted) {
  if (row.size() != layout_.columns.size())
    refuse("", std::to_string(row.size()) + " values for " +
                   std::to_string(layout_.columns.size()) + " columns");
  for (const ColumnLayout& c : layout_.columns) {
    const Value& v = row[c.index];
    const std::string& name = spec_.columns[c.index].name;
    if (v.is_null()) {
      if (c.type == FieldType::Boolean) refuse(name, "a boolean cannot be null");
      if (in_key_[c.index] && !c.autonumber && !deleted) refuse(name, "a primary-key column cannot be null");
      continue;
    }
    const std::string problem = value_problem(c, v);
    if (!problem.empty()) refuse(name, problem);
  }
}

void TableWriter::add_deleted_row(std::span<const Value> row) {
  check_values(row, true);
  try {
    place(packer_.pack(row, &long_values_), DataPage::kDeleted);
  } catch (const std::runtime_error& e) {
    refuse("", e.what());
  }
}

void TableWriter::add_row(std::span<const Value> row) {
  check_values(row, false);
  std::span<const Value> values = row;
  for (const ColumnLayout& c : layout_.columns) {
    if (!c.autonumber || !row[c.index].is_null()) continue;
    if (last_autonumber_ == std::numeric_limits<std::int32_t>::max())
      refuse(spec_.columns[c.index].name, "the autonumber has no next value");
    filled_.assign(row.begin(), row.end());
    filled_[c.index] = Value::long_(any_autonumber_ ? last_autonumber_ + 1 : 1);
    values = filled_;
  }
  if (keys_.contains(values)) {
    std::string names;
    for (std::size_t c : key_columns_)
      names += (names.empty() ? "" : "\", \"") + spec_.columns[c].name;
    refuse(names, "the primary key repeats an earlier row's");
  }
  // A row too long for a page, or the file reaching Jet's size limit.
  try {
    const std::span<const std::uint8_t> packed = packer_.pack(values, &long_values_, is_old_row(values));
    if (!physical_.aged()) {
      place(packed);
    } else {
      packed_.assign(packed.begin(), packed.end());
      for (unsigned k = physical_.deleted_rows_before(); k > 0; --k) {
        const unsigned kind = physical_.deleted_row_kind();
        place(kind == 0 ? std::span<const std::uint8_t>(packed_)
                        : kind == 1 ? std::span<const std::uint8_t>(previous_)
                                    : std::span<const std::uint8_t>(),
              DataPage::kDeleted);
      }
      if (physical_.moves_row()) {
        std::uint8_t pointer[4];
        store_u32(pointer, place_moved(packed_));
        place(pointer, DataPage::kPointer);
      } else {
        place(packed_);
      }
      previous_.swap(packed_);
    }
  } catch (const std::runtime_error& e) {
    refuse("", e.what());
  }
  keys_.add_checked();
  for (const ColumnLayout& c : layout_.columns) {
    if (!c.autonumber) continue;
    const std::int32_t v = values[c.index].as_long();
    if (!any_autonumber_ || v > last_autonumber_) last_autonumber_ = v;
    any_autonumber_ = true;
  }
  ++row_count_;
}

bool TableWriter::is_old_row(std::span<const Value> values) {
  if (layout_.first_added == layout_.max_columns) return false;
  for (const ColumnLayout& c : layout_.columns)
    if (c.number >= layout_.first_added && !values[c.index].is_null()) return false;
  return physical_.writes_old_row();
}

void TableWriter::write_page(std::uint32_t number, const DataPage& page) {
  file_.write(number, page.bytes());
  physical_.offer_freed_page(page.bytes());
}

void TableWriter::place(std::span<const std::uint8_t> row, std::uint16_t flags) {
  if (page_open_ && (!page_.fits(row.size()) || page_.free_space() < page_limit_)) {
    write_page(data_pages_.back(), page_);
    page_open_ = false;
  }
  if (!page_open_) {
    data_pages_.push_back(data_pages_.empty() ? physical_.data_page(file_, 0)
                                              : physical_.data_page(file_, data_pages_.back()));
    page_.reset(tdef_page_);
    page_limit_ = page_.capacity() - physical_.page_fill(page_.capacity());
    page_open_ = true;
  }
  page_.add(row, flags);
}

std::uint32_t TableWriter::place_moved(std::span<const std::uint8_t> row) {
  if (overflow_open_ && !overflow_.fits(row.size())) {
    write_page(overflow_number_, overflow_);
    overflow_open_ = false;
  }
  if (!overflow_open_) {
    overflow_number_ = physical_.any_page(file_);
    overflow_pages_.push_back(overflow_number_);
    overflow_.reset(tdef_page_);
    overflow_open_ = true;
  }
  return page_row(overflow_number_, overflow_.add(row, DataPage::kMovedBody));
}

std::vector<std::uint32_t> TableWriter::owned_pages() const {
  std::vector<std::uint32_t> pages = data_pages_;
  pages.insert(pages.end(), overflow_pages_.begin(), overflow_pages_.end());
  std::sort(pages.begin(), pages.end());
  return pages;
}

void TableWriter::flush() {
  if (page_open_) write_page(data_pages_.back(), page_);
  page_open_ = false;
  if (overflow_open_) write_page(overflow_number_, overflow_);
  overflow_open_ = false;
  long_values_.flush();
}

}  // namespace tarvik::archive_gen
