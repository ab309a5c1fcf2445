#include "table_writer.h"

#include <limits>
#include <stdexcept>

#include "field_encoding.h"
#include "table_check.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::jet::ColumnType;

TableWriter::TableWriter(PageFile& file, const TableSpec& spec, std::uint32_t tdef_page)
    : file_(file),
      spec_(spec),
      layout_(lay_out_table(spec)),
      tdef_page_(tdef_page),
      key_columns_(primary_key_columns(spec)),
      in_key_(spec.columns.size(), false),
      keys_(key_columns_),
      packer_(layout_),
      long_values_(file),
      page_(tdef_page) {
  for (std::size_t c : key_columns_) in_key_[c] = true;
}

void TableWriter::refuse(const std::string& column, const std::string& why) const {
  std::string where = "table \"" + spec_.name + "\", row " + std::to_string(row_count_ + 1);
  if (!column.empty()) where += ", column \"" + column + "\"";
  throw std::runtime_error(where + ": " + why);
}

void TableWriter::add_row(std::span<const Value> row) {
  if (row.size() != layout_.columns.size())
    refuse("", std::to_string(row.size()) + " values for " +
                   std::to_string(layout_.columns.size()) + " columns");
  std::span<const Value> values = row;
  for (const ColumnLayout& c : layout_.columns) {
    const Value& v = values[c.number];
    const std::string& name = spec_.columns[c.number].name;
    if (v.is_null()) {
      if (c.autonumber) {
        if (last_autonumber_ == std::numeric_limits<std::int32_t>::max())
          refuse(name, "the autonumber has no next value");
        filled_.assign(row.begin(), row.end());
        filled_[c.number] = Value::long_(any_autonumber_ ? last_autonumber_ + 1 : 1);
        values = filled_;
        continue;
      }
      if (c.type == ColumnType::Boolean) refuse(name, "a boolean cannot be null");
      if (in_key_[c.number]) refuse(name, "a primary-key column cannot be null");
      continue;
    }
    const std::string problem = value_problem(c, v);
    if (!problem.empty()) refuse(name, problem);
  }
  if (keys_.contains(values)) {
    std::string names;
    for (std::size_t c : key_columns_)
      names += (names.empty() ? "" : "\", \"") + spec_.columns[c].name;
    refuse(names, "the primary key repeats an earlier row's");
  }
  // A row too long for a page, or the file reaching 2 GB.
  try {
    place(packer_.pack(values, &long_values_));
  } catch (const std::runtime_error& e) {
    refuse("", e.what());
  }
  keys_.add_checked();
  for (const ColumnLayout& c : layout_.columns) {
    if (!c.autonumber) continue;
    const std::int32_t v = values[c.number].as_long();
    if (!any_autonumber_ || v > last_autonumber_) last_autonumber_ = v;
    any_autonumber_ = true;
  }
  ++row_count_;
}

void TableWriter::place(std::span<const std::uint8_t> row) {
  if (page_open_ && !page_.fits(row.size())) {
    file_.write(data_pages_.back(), page_.bytes());
    page_open_ = false;
  }
  if (!page_open_) {
    data_pages_.push_back(file_.allocate());
    page_.reset(tdef_page_);
    page_open_ = true;
  }
  page_.add(row);
}

void TableWriter::flush() {
  if (page_open_) file_.write(data_pages_.back(), page_.bytes());
  page_open_ = false;
  long_values_.flush();
}

}  // namespace tarvik::archive_gen
