#include "archive/jet/jet_file.h"

#include <string>

#include "archive/jet/page_source.h"
#include "archive/jet/tdef_reader.h"
#include "archive/jet/text_codec.h"
#include "common/names.h"
#include "common/utf8.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::uint32_t kCatalogPage = 2;

std::size_t catalog_column(const TableDef& catalog, std::string_view name) {
  const Column* c = catalog.find_column(name);
  if (c == nullptr)
    throw errors::damaged("catalogo degli oggetti senza la colonna " + std::string(name));
  return static_cast<std::size_t>(c - catalog.columns.data());
}

std::int64_t as_integer(const Value& v) {
  switch (v.kind()) {
    case ValueKind::Byte: return v.as_byte();
    case ValueKind::Integer: return v.as_integer();
    case ValueKind::Long: return v.as_long();
    default: return 0;
  }
}

}  // namespace

JetFile::JetFile(std::unique_ptr<PageSource> pages) : pages_(std::move(pages)) {
  TableDef catalog = read_table_def(*pages_, kCatalogPage, "MSysObjects");
  std::size_t id = catalog_column(catalog, "Id"), parent = catalog_column(catalog, "ParentId"),
              name = catalog_column(catalog, "Name"), type = catalog_column(catalog, "Type"),
              flags = catalog_column(catalog, "Flags");
  TableScan scan(*this, catalog);
  std::vector<bool> wanted(catalog.columns.size(), false);
  for (std::size_t c : {id, parent, name, type, flags}) wanted[c] = true;
  scan.select_columns(std::move(wanted));
  std::vector<Value> row;
  while (scan.next(row)) {
    CatalogEntry entry;
    if (row[name].kind() == ValueKind::Text) entry.name = utf16_to_utf8(row[name].as_text());
    entry.id = static_cast<std::int32_t>(as_integer(row[id]));
    entry.parent_id = static_cast<std::int32_t>(as_integer(row[parent]));
    entry.type = static_cast<std::int16_t>(as_integer(row[type]));
    entry.flags = static_cast<std::uint32_t>(as_integer(row[flags]));
    catalog_.push_back(std::move(entry));
  }
}

JetFile::~JetFile() = default;

std::unique_ptr<JetFile> JetFile::open(const std::string& path) {
  return std::unique_ptr<JetFile>(new JetFile(PageSource::open(path)));
}

std::unique_ptr<JetFile> JetFile::from_memory(std::vector<std::uint8_t> bytes, const std::string& name) {
  return std::unique_ptr<JetFile>(new JetFile(PageSource::from_memory(std::move(bytes), name)));
}

const DatabaseHeader& JetFile::header() const { return pages_->header(); }

std::vector<std::string> JetFile::user_table_names() const {
  std::vector<std::string> names;
  for (const CatalogEntry& e : catalog_)
    if (e.is_user_table()) names.push_back(e.name);
  return names;
}

TableDef JetFile::table(std::string_view name) const {
  const CatalogEntry* found = nullptr;
  std::string wanted = name_key(name);
  for (const CatalogEntry& e : catalog_) {
    if (!e.is_table()) continue;
    if (e.name == name) {
      found = &e;
      break;
    }
    if (found == nullptr && name_key(e.name) == wanted) found = &e;
  }
  if (found == nullptr) throw errors::table_not_found(name);
  return table_at(found->tdef_page(), found->name);
}

TableDef JetFile::table_at(std::uint32_t tdef_page, std::string name) const {
  return read_table_def(*pages_, tdef_page, std::move(name));
}

std::int64_t JetFile::row_count(const TableDef& table) const {
  {
    std::lock_guard<std::mutex> lock(row_counts_mutex_);
    const auto known = row_counts_.find(table.tdef_page);
    if (known != row_counts_.end()) return known->second;
  }
  // Counted outside the lock: two threads counting the same table at once find the same count.
  const std::int64_t count = scan(table).count_rest();
  std::lock_guard<std::mutex> lock(row_counts_mutex_);
  row_counts_.emplace(table.tdef_page, count);
  return count;
}

}  // namespace tarvik::archive::jet
