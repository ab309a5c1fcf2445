// The rows a block's query leaves out because a join found nothing for them, each with its key and
// the reason in words; and the rows a join wrote more than once. Each block's own table is read by
// a plain query of the columns that matter, and every reference is looked up among the keys of
// the table it joins to, compared as the engine's joins compare them. The keys of the tables
// joined to (CliFor, Magazzino, Agenti, the document headers) are read once per run.
// Blocks without such joins have no rule and show none.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "archive/database.h"
#include "archive/key_lookup.h"
#include "report/block_report.h"
#include "report/join_keys.h"

namespace tarvik::report {

// The rows of each table, as the run counted them for its total.
using TableCounts = std::map<std::string, std::int64_t, std::less<>>;

class LeftOutFinder {
 public:
  // Fills the left-out rows of `report` (a block already written, `written` set) and, when the
  // block holds more records than its rows not left out, the rows written more than once.
  // Blocks come in the run's order: a document kind's headers are let go once its rows' block is
  // examined, and the item codes once the supplier links are (asked again, they are read again).
  void Find(archive::Database& archive, BlockReport& report, const TableCounts& counts);

 private:
  void ExamineBlock(archive::Database& archive, BlockReport& report, const TableCounts& counts);
  // The headers of one document kind (or the journal documents): those the export wrote, and
  // for each of the others the customer or supplier that was missing.
  // When read from the headers the block's query gave no record (not `complete`), `written` and
  // `all` hold only those: enough for the rows its rows' query gave no record, not for every row.
  struct Headers {
    explicit Headers(archive::sql::TextOrder order) : written(order), all(order) {}
    JoinKeys written;
    std::unordered_map<std::string, archive::Value> excluded;  // by join key: their idCliFor
    JoinKeys all;
    bool complete = false;
  };

  // The register's ids and the items' codes: the indexes the blocks' joins built, shared.
  const archive::KeyLookup& register_ids(archive::Database& archive);
  const archive::KeyLookup& item_codes(archive::Database& archive);
  const Headers& headers(archive::Database& archive, const std::string& table, bool every_header);

  std::optional<archive::KeyLookup> register_ids_;
  std::optional<archive::KeyLookup> item_codes_;
  std::map<std::string, Headers, std::less<>> headers_;
};

}  // namespace tarvik::report
