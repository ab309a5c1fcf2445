#include "archive/database.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "archive/archive_error.h"
#include "archive/database_state.h"
#include "archive/row_sources.h"
#include "archive/sql/lexer.h"
#include "archive/sql/parser.h"
#include "archive/sql/plan.h"
#include "common/names.h"

namespace tarvik::archive {

namespace {

// Opens `path` read-only and takes the exclusive advisory lock; returns the descriptor.
int lock_archive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw errors::file_not_found(path);
    throw errors::cannot_open(path);
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    ::close(fd);
    if (e == EWOULDBLOCK) throw errors::in_use(path);
    throw errors::cannot_open(path);
  }
  return fd;
}

}  // namespace

DatabaseState::~DatabaseState() { close(); }

void DatabaseState::close() {
  closed = true;
  seek_indexes.clear();
  file.reset();
  if (lock_fd >= 0) {
    ::close(lock_fd);  // releases the lock
    lock_fd = -1;
  }
}

const SeekIndex& DatabaseState::seek_index(const jet::TableDef& table, const jet::Index& index) {
  const std::string key = name_key(table.name) + '\0' + name_key(index.name);
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
  state->lock_fd = lock_archive(path);
  state->file = jet::JetFile::open(path);  // on failure the state's destructor releases the lock
  return std::unique_ptr<Database>(new Database(std::move(state)));
}

std::unique_ptr<Recordset> Database::open_snapshot(std::string_view sql_text) {
  if (state_->closed) throw errors::object_closed();
  const jet::JetFile& f = *state_->file;
  const sql::SelectStatement statement = sql::parse(sql_text);
  auto plan = std::make_unique<sql::Plan>(
      sql::make_plan(statement, [&f](std::string_view name) { return f.table(name); }));
  std::vector<FieldInfo> fields;
  for (const sql::OutputColumn& c : plan->columns) {
    fields.push_back({c.name, c.expr.type.type, c.expr.type.size});
  }
  auto rows = query_rows(f, std::move(plan));
  return std::make_unique<Recordset>(state_, Recordset::Kind::Snapshot, std::move(fields), std::move(rows),
                                     std::nullopt);
}

std::unique_ptr<Recordset> Database::open_table(std::string_view name) {
  if (state_->closed) throw errors::object_closed();
  jet::TableDef table = state_->file->table(name);
  std::vector<FieldInfo> fields;
  for (const jet::Column& c : table.columns) fields.push_back({c.name, c.type, c.length});
  auto rows = table_rows(*state_->file, table);
  return std::make_unique<Recordset>(state_, Recordset::Kind::Table, std::move(fields), std::move(rows),
                                     std::move(table));
}

void Database::close() {
  if (state_) state_->close();
}

const jet::JetFile& Database::file() const {
  if (state_->closed) throw errors::object_closed();
  return *state_->file;
}

}  // namespace tarvik::archive
