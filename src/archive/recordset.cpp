#include "archive/recordset.h"

#include "archive/archive_error.h"
#include "archive/database_state.h"
#include "archive/jet/jet_file.h"
#include "archive/row_sources.h"
#include "archive/table_state.h"
#include "archive/sql/lexer.h"

namespace tarvik::archive {

Recordset::Recordset(std::shared_ptr<DatabaseState> db, Kind kind, std::vector<FieldInfo> fields,
                     std::unique_ptr<RowSource> rows, std::unique_ptr<TableState> table)
    : db_(std::move(db)), kind_(kind), fields_(std::move(fields)), rows_(std::move(rows)), table_(std::move(table)) {
  count_ = rows_->known_count();
  rows_->restart();
  if (rows_->next()) {
    source_position_ = 0;
    reached_ = 1;
  } else {
    empty_ = true;
    eof_ = true;
    source_done_ = true;
    count_ = 0;
  }
}

Recordset::~Recordset() = default;

void Recordset::check_open() const {
  if (closed_ || db_->closed) throw errors::object_closed();
}

void Recordset::check_moves() const {
  check_open();
  if (index_chosen_) throw errors::operation_not_supported("spostamento nell'ordine di un indice");
}

bool Recordset::bof() const {
  check_open();
  return empty_;
}

bool Recordset::eof() const {
  check_open();
  return eof_;
}

void Recordset::reach(std::int64_t position) {
  if (source_done_ || source_position_ > position) {
    rows_->restart();
    source_position_ = -1;
    source_done_ = false;
  }
  while (source_position_ < position) {
    if (!rows_->next()) {  // the rows changed under us: cannot happen on a read-only archive
      source_done_ = true;
      throw errors::no_current_record();
    }
    ++source_position_;
  }
}

void Recordset::move_first() {
  check_moves();
  if (empty_) throw errors::no_current_record();
  position_ = 0;
  eof_ = false;
  no_match_ = false;
  row_changed();
}

void Recordset::move_next() {
  check_moves();
  if (eof_) throw errors::no_current_record();
  row_changed();
  if (count_ && position_ + 1 >= *count_) {
    eof_ = true;
    return;
  }
  reach(position_);
  if (rows_->next()) {
    ++position_;
    source_position_ = position_;
    if (position_ + 1 > reached_) reached_ = position_ + 1;
  } else {
    source_done_ = true;
    count_ = position_ + 1;
    eof_ = true;
  }
}

void Recordset::move_last() {
  check_moves();
  if (empty_) throw errors::no_current_record();
  if (!count_) {
    count_ = rows_->count_all();
    source_done_ = true;  // the next read restarts the source
  }
  position_ = *count_ - 1;
  reached_ = *count_;
  eof_ = false;
  row_changed();
}

std::optional<UnmatchedRows> Recordset::take_unmatched_rows() {
  check_open();
  return rows_->take_unmatched();
}

void Recordset::count_ahead() {
  check_open();
  if (empty_ || count_ || kind_ != Kind::Snapshot) return;
  rows_->count_all();  // the row source keeps what it counted
  source_done_ = true;  // the next read restarts the source
}

std::int32_t Recordset::record_count() {
  check_open();
  if (!count_ && kind_ == Kind::Table) {
    // A table-kind set knows its count from the start.
    count_ = rows_->count_all();
    source_done_ = true;
  }
  return static_cast<std::int32_t>(count_ ? *count_ : reached_);
}

const std::vector<Value>& Recordset::current() {
  if (eof_ || empty_) throw errors::no_current_record();
  if (current_ == nullptr) {
    if (sought_) {
      if (!table_->seek_reader) table_->seek_reader.emplace(db_->file->scan(table_->def));
      table_->seek_reader->read_at(*sought_, sought_row_);
      current_ = &sought_row_;
    } else {
      reach(position_);
      current_ = &rows_->row();
    }
  }
  return *current_;
}

std::size_t Recordset::field_index(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (same_name(fields_[i].name, name)) return i;
  }
  throw errors::item_not_found(name);
}

const Value& Recordset::field(std::string_view name) {
  check_open();
  constexpr std::size_t kMostHints = 256;
  std::size_t index;
  if (next_hint_ < name_hints_.size() && name_hints_[next_hint_].name == name) {
    index = name_hints_[next_hint_].index;
  } else {
    index = field_index(name);
    if (next_hint_ < name_hints_.size()) name_hints_[next_hint_] = {std::string(name), index};
    else if (name_hints_.size() < kMostHints) name_hints_.push_back({std::string(name), index});
  }
  if (next_hint_ < kMostHints) ++next_hint_;
  return current()[index];
}

const Value& Recordset::field(std::size_t index) {
  check_open();
  if (index >= fields_.size()) throw errors::item_not_found(std::to_string(index));
  return current()[index];
}

const std::vector<Value>& Recordset::values() {
  check_open();
  return current();
}

void Recordset::set_index(std::string_view name) {
  check_open();
  if (kind_ != Kind::Table) throw errors::operation_not_supported("Index su uno snapshot");
  for (const jet::Index& index : table_->def.indexes) {
    if (same_name(index.name, name)) {
      table_->index = &index;
      index_chosen_ = true;
      return;
    }
  }
  throw errors::index_not_found(name);
}

void Recordset::seek(std::string_view comparison, const std::vector<Value>& key) {
  check_open();
  if (kind_ != Kind::Table) throw errors::operation_not_supported("Seek su uno snapshot");
  if (!index_chosen_) throw errors::no_current_index();
  if (comparison != "=") throw errors::operation_not_supported("Seek con un confronto diverso da \"=\"");
  const jet::Index& index = *table_->index;
  if (key.size() != index.columns.size()) {
    throw errors::operation_not_supported("Seek con una chiave di " + std::to_string(key.size()) +
                                          " valori su un indice di " +
                                          std::to_string(index.columns.size()) + " campi");
  }
  sought_ = db_->seek_index(table_->def, index).find(key);
  row_changed();
  no_match_ = !sought_;
  eof_ = !sought_;  // no current row after a failed seek
}

bool Recordset::no_match() const {
  check_open();
  return no_match_;
}

void Recordset::close() {
  closed_ = true;
  rows_.reset();
  if (table_) table_->seek_reader.reset();
}

}  // namespace tarvik::archive
