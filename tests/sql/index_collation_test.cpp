// The engine's text collation against the order Access itself keeps: every text index of every
// Access-made archive of the shared corpus lists its keys as the Jet engine sorted them, so the
// rows its entries point to, taken in index order, must never go down by compare_text, and two
// neighbours must share their key bytes exactly when compare_text finds them equal.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "archive/jet/index_leaves.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive/sql/compare.h"
#include "common/utf8.h"
#include "archive/corpus.h"

namespace tarvik::test {
namespace {

using archive::Value;
using archive::FieldType;
using archive::jet::Index;
using archive::jet::IndexEntry;
using archive::jet::JetFile;
using archive::jet::TableDef;

bool is_text(FieldType type) { return type == FieldType::Text || type == FieldType::Memo; }

std::string shown(const Value& v) {
  if (v.is_null()) return "NULL";
  if (v.kind() == archive::ValueKind::Text) return "'" + utf16_to_utf8(v.as_text()) + "'";
  return "<value>";
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
  std::ostringstream out;
  out << std::hex;
  for (std::uint8_t b : bytes) out << (b < 16 ? "0" : "") << int(b);
  return out.str();
}

// The index's columns of two rows in the index's own order: each column ascending or descending,
// nulls first when ascending, the first column that differs deciding.
int index_order(const Index& index, const std::vector<Value>& a, const std::vector<Value>& b,
                archive::sql::TextOrder order) {
  for (const auto& column : index.columns) {
    const int c = archive::sql::compare_for_sort(a[column.column], b[column.column], order);
    if (c != 0) return column.ascending ? c : -c;
  }
  return 0;
}

struct Tally {
  int files = 0, indexes = 0;
  long entries = 0;
};

// Checks one index; returns the entries read.
std::size_t check_index(const JetFile& file, const TableDef& def, const Index& index, const std::string& where) {
  const std::vector<IndexEntry> entries = archive::jet::read_index_entries(file.pages(), def, index);
  const archive::sql::TextOrder text_order = archive::sql::text_order_of(file.header());
  auto scan = file.scan(def);
  std::vector<bool> wanted(def.columns.size(), false);
  for (const auto& column : index.columns) wanted[column.column] = true;
  scan.select_columns(wanted);

  std::vector<Value> previous, row;
  int reported = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    scan.read_at(entries[i].row_pointer, row);
    if (i > 0) {
      const int order = index_order(index, previous, row, text_order);
      const bool same_key = entries[i - 1].key == entries[i].key;
      if ((order > 0 || same_key != (order == 0)) && reported++ < 20) {
        std::string values;
        for (const auto& column : index.columns)
          values += " " + shown(previous[column.column]) + " / " + shown(row[column.column]);
        ADD_FAILURE() << where << ": entries " << i - 1 << " and " << i << ":" << values
                      << "; engine order " << order << ", Access keys " << (same_key ? "equal" : "different")
                      << " (" << hex(entries[i - 1].key) << " / " << hex(entries[i].key) << ")";
      }
    }
    previous.swap(row);
  }
  return entries.size();
}

TEST(IndexCollation, EveryTextIndexOfTheCorpusListsRowsInTheEnginesTextOrder) {
  Tally jet3, jet4, ace;  // by the header's version: 0, 1, later
  for (const auto& item : std::filesystem::recursive_directory_iterator(TARVIK_CORPUS_DIR)) {
    const auto ext = item.path().extension();
    if (ext != ".mdb" && ext != ".accdb") continue;
    const std::string name = item.path().lexically_relative(TARVIK_CORPUS_DIR).string();
    auto file = JetFile::open(item.path().string());
    const auto& header = file->header();
    // Access 2010 brought a new General order (sort version 1), which the engine does not keep.
    if (header.sort_version != 0) {
      std::cout << "[ skipped  ] " << name << ": sort version " << int(header.sort_version) << "\n";
      continue;
    }
    Tally& tally = header.version == 0 ? jet3 : header.version == 1 ? jet4 : ace;
    ++tally.files;
    for (const auto& entry : file->catalog()) {
      if (!entry.is_table()) continue;
      const TableDef def = file->table_at(entry.tdef_page(), entry.name);
      std::set<std::uint32_t> roots;  // a foreign key's index often shares its pages with another
      for (const Index& index : def.indexes) {
        if (index.columns.empty() || !is_text(def.columns[index.columns.front().column].type)) continue;
        if (!roots.insert(index.root_page).second) continue;
        const std::string where = name + " / " + def.name + " / " + index.name;
        ++tally.indexes;
        try {
          tally.entries += static_cast<long>(check_index(*file, def, index, where));
        } catch (const std::exception& e) {
          ADD_FAILURE() << where << ": " << e.what();
        }
      }
    }
  }
  for (const auto& [what, t] : {std::pair{"Jet3", jet3}, std::pair{"Jet4", jet4}, std::pair{"ACE", ace}})
    std::cout << "[ checked  ] " << what << ": " << t.files << " files, " << t.indexes << " text indexes, "
              << t.entries << " entries\n";
  EXPECT_GT(jet3.entries, 0);
  EXPECT_GT(jet4.entries, 0);
}

}  // namespace
}  // namespace tarvik::test
