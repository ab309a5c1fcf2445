#include "archive/seek_index.h"

#include "archive/archive_error.h"
#include "archive/jet/jet_file.h"
#include "archive/sql/compare.h"
#include "archive/sql/join_index_cache.h"

namespace tarvik::archive {

namespace {

sql::Category category_of_column(archive::FieldType t) {
  switch (t) {
    case archive::FieldType::Text:
    case archive::FieldType::Memo: return sql::Category::Text;
    case archive::FieldType::Guid: return sql::Category::Guid;
    case archive::FieldType::Binary:
    case archive::FieldType::Ole:
    case archive::FieldType::Complex: return sql::Category::Binary;
    default: return sql::Category::Number;
  }
}

}  // namespace

SeekIndex::SeekIndex(const jet::JetFile& file, const jet::TableDef& table, const jet::Index& index)
    : order_(sql::text_order_of(file.header())) {
  std::vector<std::size_t> columns;
  for (const jet::IndexColumn& c : index.columns) {
    columns.push_back(c.column);
    types_.push_back(table.columns.at(c.column).type);
  }
  jet::TableScan scan = file.scan(table);
  std::vector<bool> wanted(table.columns.size(), false);
  for (std::size_t c : columns) wanted[c] = true;
  scan.select_columns(std::move(wanted));
  rows_.reserve(sql::row_count_hint(table.row_count));
  std::vector<Value> row;
  std::string key;
  while (scan.next(row)) {
    key.clear();
    bool has_null = false;
    for (std::size_t c : columns) {
      if (row[c].is_null()) {
        has_null = true;
        break;
      }
      sql::append_key(key, row[c], order_);
    }
    if (has_null) continue;
    // kNone marks a free slot: as a row pointer it would be page 2^24 - 1, past the end of any
    // file Jet writes, so a file that gives it is damaged.
    if (scan.row_pointer() == sql::KeyNumbers::kNone) throw errors::damaged("puntatore di riga fuori dal file");
    bool added = false;
    rows_.value(key, scan.row_pointer(), added);  // the first row of a key stays
  }
}

std::optional<std::uint32_t> SeekIndex::find(const std::vector<Value>& key) const {
  std::string k;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i].is_null()) return std::nullopt;
    if (!sql::comparable(sql::category_of(key[i].kind()), category_of_column(types_[i]))) {
      throw errors::criteria_type_mismatch();
    }
    sql::append_key(k, key[i], order_);
  }
  const std::uint32_t row = rows_.find(k);
  if (row == sql::KeyNumbers::kNone) return std::nullopt;
  return row;
}

}  // namespace tarvik::archive
