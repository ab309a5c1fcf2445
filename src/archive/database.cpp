#include "archive/database.h"

#include "archive/archive_error.h"
#include "archive/database_state.h"
#include "archive/jet/page_source.h"
#include "archive/row_sources.h"
#include "archive/ready_snapshots.h"
#include "archive/sql/column_index.h"
#include "archive/sql/lexer.h"
#include "archive/sql/parser.h"
#include "archive/sql/plan.h"
#include "archive/table_state.h"
#include "common/names.h"

namespace tarvik::archive {

namespace {

// Takes the exclusive hold an export keeps on its archive for the whole run.
std::unique_ptr<platform::ArchiveLock> lock_archive(const std::string& path) {
  platform::FileError error = platform::FileError::None;
  auto lock = platform::ArchiveLock::acquire(path, error);
  if (lock) return lock;
  if (error == platform::FileError::NotFound) throw errors::file_not_found(path);
  if (error == platform::FileError::InUse) throw errors::in_use(path);
  throw errors::cannot_open(path);
}

}  // namespace

DatabaseState::~DatabaseState() { close(); }

void DatabaseState::close() {
  closed = true;
  seek_indexes.clear();
  join_indexes.clear();
  file.reset();
  lock.reset();  // releases the hold
}

const SeekIndex& DatabaseState::seek_index(const jet::TableDef& table, const jet::Index& index) {
  const std::string key = name_key(table.name) + '\0' + name_key(index.name);
  std::lock_guard<std::mutex> lock(seek_indexes_mutex);
  auto it = seek_indexes.find(key);
  if (it == seek_indexes.end()) {
    it = seek_indexes.emplace(key, std::make_unique<SeekIndex>(*file, table, index)).first;
  }
  return *it->second;
}

Database::Database(std::shared_ptr<DatabaseState> state) : state_(std::move(state)) {}

Database::~Database() { close(); }

std::unique_ptr<Database> Database::open(const std::string& path) {
  auto state = std::make_shared<DatabaseState>();
  state->path = path;
  state->lock = lock_archive(path);
  state->file = jet::JetFile::open(path);  // on failure the state's destructor releases the lock
  return std::unique_ptr<Database>(new Database(std::move(state)));
}

std::unique_ptr<Recordset> Database::open_snapshot(std::string_view sql_text) {
  if (state_->closed) throw errors::object_closed();
  if (ready_) {
    if (auto ready = ready_->take(sql_text)) return ready;
  }
  return open_snapshot_here(sql_text);
}

namespace {

sql::Plan plan_of(const jet::JetFile& f, std::string_view sql_text) {
  const sql::SelectStatement statement = sql::parse(sql_text);
  return sql::make_plan(statement, [&f](std::string_view name) { return f.table(name); });
}

std::vector<FieldInfo> fields_of(const sql::Plan& plan) {
  std::vector<FieldInfo> fields;
  for (const sql::OutputColumn& c : plan.columns) fields.push_back({c.name, c.expr.type.type, c.expr.type.size});
  return fields;
}

}  // namespace

void Database::check_statement(std::string_view sql_text) const {
  if (state_->closed) throw errors::object_closed();
  plan_of(*state_->file, sql_text);
}

std::unique_ptr<Recordset> Database::snapshot(std::string_view sql_text, const RowsOf& rows_of) {
  auto plan = std::make_unique<sql::Plan>(plan_of(*state_->file, sql_text));
  std::vector<FieldInfo> fields = fields_of(*plan);
  return std::make_unique<Recordset>(state_, Recordset::Kind::Snapshot, std::move(fields), rows_of(std::move(plan)),
                                     nullptr);
}

std::unique_ptr<Recordset> Database::open_snapshot_here(std::string_view sql_text) {
  return snapshot(sql_text, [this](std::unique_ptr<sql::Plan> plan) {
    return query_rows(*state_->file, std::move(plan), state_->join_indexes);
  });
}

std::unique_ptr<Recordset> Database::open_table(std::string_view name) {
  if (state_->closed) throw errors::object_closed();
  jet::TableDef table = state_->file->table(name);
  std::vector<FieldInfo> fields;
  for (const jet::Column& c : table.columns) fields.push_back({c.name, c.type, c.length});
  auto rows = table_rows(*state_->file, table);
  return std::make_unique<Recordset>(state_, Recordset::Kind::Table, std::move(fields), std::move(rows),
                                     std::make_unique<TableState>(TableState{std::move(table), nullptr, std::nullopt}));
}

void Database::close() {
  if (state_) state_->close();
}

sql::TextOrder Database::text_order() const {
  if (state_->closed) throw errors::object_closed();
  return sql::text_order_of(state_->file->header());
}

bool Database::jet3() const {
  if (state_->closed) throw errors::object_closed();
  return state_->file->pages().format().jet3;
}

}  // namespace tarvik::archive
