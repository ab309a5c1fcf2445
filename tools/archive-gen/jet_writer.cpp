// The file's plan: page 0 (header), 1 (global usage map), 2 (MSysObjects' definition), then the
// pages reserved for usage-map rows and catalog rows, then each table's definition pages and
// index root page. Everything after those is streamed: data, LVAL and, at the end, the bitmap
// pages of reference usage maps. The reserved pages are written by finish(), when row counts,
// page lists and autonumbers are known; their sizes do not depend on those, so the plan holds.
#include "jet_writer.h"

#include <stdexcept>

#include "catalog.h"
#include "data_page.h"
#include "header_page.h"
#include "index_page.h"
#include "page_file.h"
#include "row_packer.h"
#include "table_check.h"
#include "table_definition.h"
#include "table_writer.h"
#include "usage_map.h"
#include "utf8.h"

namespace tarvik::archive_gen {

using archive::Value;

namespace {

constexpr std::uint32_t kGlobalUsageMapPage = 1;
// Access sets the owner field of page 1 to 1.
constexpr std::uint32_t kGlobalUsageMapOwner = 1;
// Flags of a primary-key index: unique and required, and 0x80 from Access 2000 on.
constexpr std::uint8_t kJet3PrimaryKeyFlags = 0x09;
constexpr std::uint8_t kJet4PrimaryKeyFlags = 0x89;

struct TablePlan {
  std::vector<std::uint32_t> tdef_pages;
  std::uint32_t index_root = 0;  // 0: no primary key
  std::size_t first_map_row = 0;   // owned, free, then the index's
};

}  // namespace

struct JetWriter::Impl {
  std::vector<TableSpec> specs;
  WriterOptions options;
  const WriteFormat& format;
  PageFile file;
  PhysicalLayout physical;
  std::vector<TablePlan> plans;
  std::vector<std::unique_ptr<TableWriter>> tables;
  std::uint32_t catalog_map_page = 0;
  std::size_t map_rows = 0;
  std::vector<std::uint32_t> catalog_pages;
  bool finished = false;

  Impl(const std::string& path, std::vector<TableSpec> table_specs, WriterOptions opts)
      : specs(std::move(table_specs)),
        options(opts),
        format(write_format(opts.format)),
        file(path, format),
        physical(opts.layout, opts.layout_seed) {}

  std::vector<std::vector<Value>> catalog_rows() const;
  TableDefinition user_definition(std::size_t t, const UsageMapPages* maps) const;
  void plan();
  void finish();
};

std::vector<std::vector<Value>> JetWriter::Impl::catalog_rows() const {
  std::vector<std::u16string> names;
  std::vector<std::uint32_t> tdefs;
  for (std::size_t t = 0; t < specs.size(); ++t) {
    names.push_back(utf8_to_utf16(specs[t].name));
    tdefs.push_back(plans[t].tdef_pages.empty() ? 0 : plans[t].tdef_pages.front());
  }
  const archive::DateTime created = options.creation_date;
  std::vector<std::vector<Value>> rows;
  for (const CatalogObject& o : catalog_objects(names, tdefs)) {
    std::vector<Value> row(catalog_layout(format).columns.size());
    row[0] = Value::long_(o.id);
    row[1] = Value::long_(o.parent_id);
    row[2] = Value::text(o.name);
    row[3] = Value::integer(o.type);
    row[4] = Value::datetime(created);
    row[5] = Value::datetime(created);
    row[7] = Value::long_(static_cast<std::int32_t>(o.flags));
    rows.push_back(std::move(row));
  }
  return rows;
}

TableDefinition JetWriter::Impl::user_definition(std::size_t t, const UsageMapPages* maps) const {
  const TablePlan& plan = plans[t];
  // Before the tables' writers exist, their layouts without a past: the definition's size is the
  // same, since dropped columns have no descriptor.
  const TableLayout layout = tables.empty() ? lay_out_table(specs[t], format) : tables[t]->layout();
  TableDefinition def;
  def.columns = layout.columns;
  def.max_columns = layout.max_columns;
  def.var_count = layout.var_count;
  if (!specs[t].primary_key.empty()) {
    IndexDefinition pk;
    pk.name = u"PrimaryKey";
    for (std::size_t c : primary_key_columns(specs[t])) pk.column_numbers.push_back(layout.columns[c].number);
    pk.root_page = plan.index_root;
    pk.primary_key = true;
    pk.flags = format.jet3() ? kJet3PrimaryKeyFlags : kJet4PrimaryKeyFlags;
    if (maps) pk.usage_map = maps->pointer(plan.first_map_row + 2);
    def.indexes.push_back(std::move(pk));
  }
  if (maps) {
    const TableWriter& w = *tables[t];
    def.row_count = static_cast<std::uint32_t>(w.row_count());
    def.last_autonumber = static_cast<std::uint32_t>(w.last_autonumber());
    def.owned_pages_map = maps->pointer(plan.first_map_row);
    def.free_pages_map = maps->pointer(plan.first_map_row + 1);
  }
  return def;
}

void JetWriter::Impl::plan() {
  file.allocate(3);  // header, global usage map, catalog definition
  map_rows = 2;
  plans.resize(specs.size());
  for (std::size_t t = 0; t < specs.size(); ++t) {
    plans[t].first_map_row = map_rows;
    map_rows += specs[t].primary_key.empty() ? 2 : 3;
  }
  const std::uint32_t map_pages = UsageMapPages::pages_for(format, map_rows);
  catalog_map_page = file.allocate(map_pages);

  // The catalog rows' sizes do not depend on the page numbers they hold: pack them now to know
  // how many pages they take.
  const TableLayout layout = catalog_layout(format);
  PhysicalLayout fresh(Layout::Fresh, 0);
  RowPacker packer(layout, format, fresh);
  DataPage page(format, kCatalogPage);
  std::size_t pages = 1;
  for (const auto& row : catalog_rows()) {
    const auto bytes = packer.pack(row, nullptr);
    if (!page.fits(bytes.size())) {
      page.reset(kCatalogPage);
      ++pages;
    }
    page.add(bytes);
  }
  const std::uint32_t first_catalog = file.allocate(static_cast<std::uint32_t>(pages));
  for (std::uint32_t i = 0; i < pages; ++i) catalog_pages.push_back(first_catalog + i);

  for (std::size_t t = 0; t < specs.size(); ++t) {
    TablePlan& p = plans[t];
    const std::uint32_t count = table_definition_pages(
        format, build_table_definition(format, user_definition(t, nullptr)).size());
    const std::uint32_t first = file.allocate(count);
    for (std::uint32_t i = 0; i < count; ++i) p.tdef_pages.push_back(first + i);
    if (!specs[t].primary_key.empty()) p.index_root = file.allocate();
  }
  for (std::size_t t = 0; t < specs.size(); ++t)
    tables.push_back(
        std::make_unique<TableWriter>(file, physical, specs[t], plans[t].tdef_pages.front()));
}

void JetWriter::Impl::finish() {
  for (auto& t : tables) t->flush();

  UsageMapPages maps(format, catalog_map_page, map_rows);
  maps.set(0, inline_usage_map(format, catalog_pages));
  maps.set(1, inline_usage_map(format, {}));
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const TablePlan& p = plans[t];
    maps.set(p.first_map_row, usage_map(file, tables[t]->owned_pages(), physical.reference_map()));
    maps.set(p.first_map_row + 1, inline_usage_map(format, {}));
    if (p.index_root != 0) {
      const std::uint32_t root[] = {p.index_root};
      maps.set(p.first_map_row + 2, inline_usage_map(format, root));
    }
  }
  maps.write(file);

  for (std::size_t t = 0; t < tables.size(); ++t) {
    const std::vector<std::uint8_t> def = build_table_definition(format, user_definition(t, &maps));
    write_table_definition(file, plans[t].tdef_pages, def);
    if (plans[t].index_root != 0)
      file.write(plans[t].index_root, empty_index_leaf(format, plans[t].tdef_pages.front()));
  }

  const TableLayout layout = catalog_layout(format);
  const std::vector<std::vector<Value>> rows = catalog_rows();
  TableDefinition catalog;
  catalog.system = true;
  catalog.row_count = static_cast<std::uint32_t>(rows.size());
  catalog.columns = layout.columns;
  catalog.max_columns = layout.max_columns;
  catalog.var_count = layout.var_count;
  catalog.owned_pages_map = maps.pointer(0);
  catalog.free_pages_map = maps.pointer(1);
  const std::uint32_t catalog_tdef[] = {kCatalogPage};
  write_table_definition(file, catalog_tdef, build_table_definition(format, catalog));

  // The catalog is laid out fresh: its rows are written once, when the archive is made.
  PhysicalLayout fresh(Layout::Fresh, 0);
  RowPacker packer(layout, format, fresh);
  DataPage page(format, kCatalogPage);
  std::size_t at = 0;
  for (const auto& row : rows) {
    const auto bytes = packer.pack(row, nullptr);
    if (!page.fits(bytes.size())) {
      file.write(catalog_pages.at(at++), page.bytes());
      page.reset(kCatalogPage);
    }
    page.add(bytes);
  }
  file.write(catalog_pages.at(at), page.bytes());

  // Page 1: the global map of free pages; a new file has none.
  DataPage global(format, kGlobalUsageMapOwner);
  global.add(inline_usage_map(format, {}));
  file.write(kGlobalUsageMapPage, global.bytes());

  physical.finish(file);
  file.write(0, header_page(format, options.creation_date.days));
  file.commit();
}

JetWriter::JetWriter(const std::string& path, std::vector<TableSpec> tables,
                       WriterOptions options) {
  check_table_specs(tables, write_format(options.format));
  impl_ = std::make_unique<Impl>(path, std::move(tables), options);
  impl_->plan();
}

JetWriter::~JetWriter() = default;

void JetWriter::add_row(std::size_t table, std::span<const Value> row) {
  if (impl_->finished) throw std::logic_error("add_row after finish");
  if (table >= impl_->tables.size())
    throw std::runtime_error("no table number " + std::to_string(table));
  impl_->tables[table]->add_row(row);
}

void JetWriter::add_deleted_row(std::size_t table, std::span<const Value> row) {
  if (impl_->finished) throw std::logic_error("add_deleted_row after finish");
  if (table >= impl_->tables.size())
    throw std::runtime_error("no table number " + std::to_string(table));
  impl_->tables[table]->add_deleted_row(row);
}

std::uint64_t JetWriter::row_count(std::size_t table) const {
  return impl_->tables.at(table)->row_count();
}

void JetWriter::finish() {
  if (impl_->finished) throw std::logic_error("finish called twice");
  impl_->finished = true;
  impl_->finish();
}

}  // namespace tarvik::archive_gen
