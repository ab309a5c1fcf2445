#include "archive/sql/column_index.h"

#include <string>
#include <vector>

#include "archive/sql/compare.h"

namespace tarvik::archive::sql {

std::shared_ptr<const JoinedTable> column_index(const jet::JetFile& file, const jet::TableDef& table,
                                                std::size_t column, JoinIndexCache& cache) {
  return cache.find_or_build(kept_index_name(table.tdef_page, {column}, {}), [&] {
    // As a join fills it: entry n is row n of the scan, a null key goes in no chain, no column kept.
    auto built = std::make_shared<JoinedTable>();
    built->index.reserve(row_count_hint(table.row_count));
    jet::TableScan scan = file.scan(table);
    std::vector<bool> wanted(table.columns.size(), false);
    wanted[column] = true;
    scan.select_columns(std::move(wanted));
    std::vector<Value> row;
    std::string key;
    const TextOrder order = text_order_of(file.header());
    std::int32_t n = 0;
    for (; scan.next(row); ++n) {
      if (row[column].is_null()) continue;
      key.clear();
      append_key(key, row[column], order);
      built->index.add(key, n);
    }
    built->index.finish();
    built->rows.count = static_cast<std::size_t>(n);
    return std::shared_ptr<const JoinedTable>(std::move(built));
  });
}

}  // namespace tarvik::archive::sql
