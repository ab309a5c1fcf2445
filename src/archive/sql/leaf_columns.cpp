#include "archive/sql/leaf_columns.h"

#include <utility>

namespace tarvik::archive::sql {

std::vector<bool> stored_mask(const PlanSource& src) {
  std::vector<bool> mask(src.table.columns.size(), false);
  for (std::size_t c : src.stored_columns) mask[c] = true;
  return mask;
}

void LeafColumns::choose(const jet::JetFile& file, const PlanSource& src, jet::TableScan& scan, std::vector<bool> lean) {
  const std::vector<bool> full = stored_mask(src);
  scan_lean_ = full != lean;
  row_ = RowColumns::Whole;
  scan.select_columns(std::move(lean));
  if (scan_lean_ && !reader_) open_reader(file, src);
}

void LeafColumns::read_whole_at(const jet::JetFile& file, const PlanSource& src, std::uint32_t pointer,
                                std::vector<Value>& row) {
  if (!reader_) open_reader(file, src);
  reader_->read_at(pointer, row);
  row_ = RowColumns::Whole;
}

void LeafColumns::open_reader(const jet::JetFile& file, const PlanSource& src) {
  reader_.emplace(file.scan(src.table));
  reader_->select_columns(stored_mask(src));
}

}  // namespace tarvik::archive::sql
