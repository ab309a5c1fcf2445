#include "report/left_out_rules.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "archive/side_reads.h"
#include "report/value_text.h"

namespace tarvik::report {

namespace {

using archive::Recordset;
using archive::Value;

// One join of a block: its rows' column that must find a row of `target`.
struct JoinReference {
  std::string own_column;
  std::string target_table;
  std::string target_column;
};

// The reason a row of the block is left out, or none when the export writes it.
using Examine = std::function<std::optional<ListedRow>(Recordset& rows)>;

struct Scan {
  std::int64_t rows = 0;  // rows of the block's own table read
  bool stopped = false;   // ended early: the list was full and the count known otherwise
};

// Reads `sql` and lists the rows `examine` finds left out. When the caller knows how many there
// are (`known`), reading ends once the list is full or all of them are listed. With `only`, the
// rows the block's query gave no record are read alone: the others were written, so they are
// counted as read without being read again.
Scan scan(archive::Database& archive, const std::string& sql, const archive::UnmatchedRows* only, BlockReport& report,
          std::optional<std::int64_t> known, const Examine& examine) {
  Scan result;
  auto rows = only ? archive::SideReads(archive).open_snapshot_at(sql, only->pointers) : archive.open_snapshot(sql);
  for (; !rows->eof(); rows->move_next()) {
    ++result.rows;
    std::optional<ListedRow> left_out = examine(*rows);
    if (!left_out) continue;
    if (report.left_out.shown().size() < kEntriesShown) {
      report.left_out.add(std::move(*left_out));
      if (known && report.left_out.count() >= *known) {
        result.stopped = true;
        break;
      }
    } else if (known) {
      result.stopped = true;
      break;
    } else {
      report.left_out.add_unlisted(1);
    }
  }
  rows->close();
  if (only) result.rows = only->rows_read;
  return result;
}

std::string text(Recordset& rows, std::string_view column) { return ValueText(rows.field(column)); }
std::string quoted(const Value& value) { return value.is_null() ? "(vuoto)" : "'" + ValueText(value) + "'"; }

// "cliente 1234 inesistente", or "idCliFor vuoto" for a null reference.
std::string missing_register(const Value& reference, std::string_view who) {
  if (reference.is_null()) return "idCliFor vuoto";
  return std::string(who) + " " + ValueText(reference) + " inesistente";
}

std::string who_of(std::string_view header_table) {
  if (header_table == "TestataOrdForn") return "fornitore";
  if (header_table == "PrimanotaDocumenti") return "cliente/fornitore";
  return "cliente";
}

struct HeaderKind {
  std::string_view header;
  std::string_view rows;
  std::string_view header_key;  // the header's id, which the rows name
  std::string_view row_key;
};

constexpr HeaderKind kHeaderKinds[] = {
    {"TestataFattAcc", "RigheFattAcc", "idDocumento", "idRigaDocumento"},
    {"TestataFatture", "RigheFatture", "idDocumento", "idRigaDocumento"},
    {"TestataBolle", "RigheBolle", "idDocumento", "idRigaDocumento"},
    {"TestataOrdCli", "RigheOrdCli", "idDocumento", "idRigaDocumento"},
    {"TestataPreventivi", "RighePreventivi", "idDocumento", "idRigaDocumento"},
    {"TestataDocGen1", "RigheDocGen1", "idDocumento", "idRigaDocumento"},
    {"TestataOrdForn", "RigheOrdForn", "idDocumento", "idRigaDocumento"},
    {"PrimanotaDocumenti", "PrimanotaMovimenti", "idPrimanota", "idMovimento"},
};

const HeaderKind* header_kind(std::string_view block, bool rows) {
  for (const HeaderKind& kind : kHeaderKinds)
    if ((rows ? kind.rows : kind.header) == block) return &kind;
  return nullptr;
}

// The rows of the block's table whose reference meets a key that its target holds more than
// once: the join writes such a row once per match. Asked only when the counts show there are some.
void list_duplicates(archive::Database& archive, const std::string& own_table, const std::string& own_key,
                     const std::vector<JoinReference>& joins, BlockReport& report) {
  const archive::sql::TextOrder order = archive.text_order();
  for (const JoinReference& join : joins) {
    std::unordered_map<std::string, std::int32_t> repeated;  // join key: how often the target holds it
    auto groups = archive.open_snapshot("SELECT " + join.target_column + ", COUNT(*) AS Volte FROM " +
                                        join.target_table + " GROUP BY " + join.target_column +
                                        " HAVING COUNT(*) > 1");
    for (; !groups->eof(); groups->move_next())
      if (!groups->field(join.target_column).is_null())
        repeated[JoinKey(groups->field(join.target_column), order)] = groups->field("Volte").as_long();
    groups->close();
    if (repeated.empty()) continue;
    auto rows = archive.open_snapshot("SELECT " + own_key + ", " + join.own_column + " FROM " + own_table);
    for (; !rows->eof(); rows->move_next()) {
      const Value& reference = rows->field(join.own_column);
      if (reference.is_null()) continue;
      auto found = repeated.find(JoinKey(reference, order));
      if (found == repeated.end()) continue;
      const std::string times = std::to_string(found->second);
      report.duplicates.add({own_key + " " + ValueText(rows->field(own_key)),
                             join.own_column + " " + ValueText(reference) + " presente " + times + " volte in " +
                                 join.target_table + ": scritta " + times + " volte"});
    }
    rows->close();
  }
}

}  // namespace

const archive::KeyLookup& LeftOutFinder::register_ids(archive::Database& archive) {
  if (!register_ids_) register_ids_ = archive::SideReads(archive).key_lookup("CliFor", "idCliFor");
  return *register_ids_;
}

const archive::KeyLookup& LeftOutFinder::item_codes(archive::Database& archive) {
  if (!item_codes_) item_codes_ = archive::SideReads(archive).key_lookup("Magazzino", "Codice");
  return *item_codes_;
}

// Read once, when the header block is examined (or, failing that, by its rows' block); read whole
// again when the rows' block reads every row and the headers read were only those left out.
const LeftOutFinder::Headers& LeftOutFinder::headers(archive::Database& archive, const std::string& table,
                                                     bool every_header) {
  if (auto found = headers_.find(table); found != headers_.end() && (found->second.complete || !every_header))
    return found->second;
  headers_.erase(table);
  BlockReport unlisted;
  unlisted.name = table;
  ExamineBlock(archive, unlisted, {});
  return headers_.at(table);
}

void LeftOutFinder::Find(archive::Database& archive, BlockReport& report, const TableCounts& counts) {
  ExamineBlock(archive, report, counts);
  report.unmatched.reset();
  if (const HeaderKind* kind = header_kind(report.name, true)) headers_.erase(std::string(kind->header));
  if (report.name == "LinkMagazzinoFornitori") item_codes_.reset();
}

void LeftOutFinder::ExamineBlock(archive::Database& archive, BlockReport& report, const TableCounts& counts) {
  const std::string& block = report.name;
  std::string own_table = block, own_key, sql;
  std::vector<JoinReference> joins;
  std::vector<std::pair<std::string, std::string>> targets;  // every table and column joined to
  bool full_read = false;  // the keys read here serve a later block, so every row is read
  // The rows the block's query gave no record, when its walk noted them and the rule reads the
  // query's own leftmost table without a condition of its own: the rows left out are among them.
  const archive::UnmatchedRows* only = report.unmatched ? &*report.unmatched : nullptr;
  const archive::sql::TextOrder order = archive.text_order();
  Examine examine;

  if (block == "Agenti") {
    const archive::KeyLookup& ids = register_ids(archive);
    own_key = "idCliFor";
    sql = "SELECT idCliFor FROM Agenti";
    joins = {{"idCliFor", "CliFor", "idCliFor"}};
    targets = {{"CliFor", "idCliFor"}};
    examine = [&ids](Recordset& rows) -> std::optional<ListedRow> {
      const Value& id = rows.field("idCliFor");
      if (ids.finds(id)) return std::nullopt;
      return ListedRow{"idCliFor " + ValueText(id), id.is_null() ? "idCliFor vuoto" : "anagrafica " + ValueText(id) + " inesistente"};
    };
  } else if (block == "LinkAgentiCliFor") {
    // The pairs come from the register records that name an agent; one whose agent has no rules,
    // or whose rules belong to no register record, goes nowhere.
    const archive::KeyLookup& ids = register_ids(archive);
    auto agents = std::make_shared<JoinKeys>(order), rules = std::make_shared<JoinKeys>(order);
    auto agent_rows = archive.open_snapshot("SELECT idCliFor FROM Agenti");
    for (; !agent_rows->eof(); agent_rows->move_next()) {
      const Value& id = agent_rows->field("idCliFor");
      rules->add(id);
      if (ids.finds(id)) agents->add(id);
    }
    agent_rows->close();
    own_table = "CliFor";
    own_key = "idCliFor";
    sql = "SELECT idCliFor, idAgente FROM CliFor WHERE idAgente IS NOT NULL";
    only = nullptr;  // the register records without an agent are not this block's
    joins = {{"idAgente", "Agenti", "idCliFor"}};
    targets = {{"Agenti", "idCliFor"}, {"CliFor", "idCliFor"}};
    full_read = true;  // only some register records count, so their number comes from here
    examine = [agents, rules](Recordset& rows) -> std::optional<ListedRow> {
      const Value& agent = rows.field("idAgente");
      if (agents->finds(agent)) return std::nullopt;
      return ListedRow{"idCliFor " + text(rows, "idCliFor"),
                       "agente " + ValueText(agent) + (rules->finds(agent) ? " senza anagrafica" : " inesistente")};
    };
  } else if (block == "GiornaleMagazzino") {
    const archive::KeyLookup& items = item_codes(archive);
    own_key = "idGiornaleMagazzino";
    sql = "SELECT idGiornaleMagazzino, Codice FROM GiornaleMagazzino";
    joins = {{"Codice", "Magazzino", "Codice"}};
    targets = {{"Magazzino", "Codice"}};
    examine = [&items](Recordset& rows) -> std::optional<ListedRow> {
      const Value& code = rows.field("Codice");
      if (items.finds(code)) return std::nullopt;
      return ListedRow{"idGiornaleMagazzino " + text(rows, "idGiornaleMagazzino") + ", Codice " + quoted(code),
                       code.is_null() ? "Codice vuoto" : "articolo " + quoted(code) + " inesistente"};
    };
  } else if (block == "LinkMagazzinoFornitori") {
    const archive::KeyLookup& items = item_codes(archive);
    const archive::KeyLookup& ids = register_ids(archive);
    own_key = "idMagazzinoFornitori";
    sql = "SELECT idMagazzinoFornitori, CodiceArticolo, idCliFor FROM LinkMagazzinoFornitori";
    joins = {{"CodiceArticolo", "Magazzino", "Codice"}, {"idCliFor", "CliFor", "idCliFor"}};
    targets = {{"Magazzino", "Codice"}, {"CliFor", "idCliFor"}};
    examine = [&items, &ids](Recordset& rows) -> std::optional<ListedRow> {
      const Value& code = rows.field("CodiceArticolo");
      const Value& supplier = rows.field("idCliFor");
      const bool item_found = items.finds(code), supplier_found = ids.finds(supplier);
      if (item_found && supplier_found) return std::nullopt;
      std::string reason;
      if (!item_found) reason = code.is_null() ? "CodiceArticolo vuoto" : "articolo " + quoted(code) + " inesistente";
      if (!supplier_found) reason += (reason.empty() ? "" : "; ") + missing_register(supplier, "fornitore");
      return ListedRow{"idMagazzinoFornitori " + text(rows, "idMagazzinoFornitori"), reason};
    };
  } else if (const HeaderKind* kind = header_kind(block, false)) {
    const archive::KeyLookup& ids = register_ids(archive);
    Headers& kept = headers_.insert_or_assign(block, Headers(order)).first->second;
    kept.complete = only == nullptr;
    const std::string key(kind->header_key), who = who_of(block);
    const bool numbered = key == "idDocumento";
    own_key = key;
    sql = "SELECT " + key + (numbered ? ", Numero, Anno" : "") + ", idCliFor FROM " + block;
    joins = {{"idCliFor", "CliFor", "idCliFor"}};
    targets = {{"CliFor", "idCliFor"}};
    full_read = true;  // the rows' block needs every header
    examine = [&ids, &kept, key, who, numbered, order](Recordset& rows) -> std::optional<ListedRow> {
      const Value& id = rows.field(key);
      const Value& customer = rows.field("idCliFor");
      kept.all.add(id);
      if (ids.finds(customer)) {
        kept.written.add(id);
        return std::nullopt;
      }
      if (!id.is_null()) kept.excluded.emplace(JoinKey(id, order), customer);
      std::string listed = key + " " + ValueText(id);
      if (numbered && !rows.field("Numero").is_null()) listed += ", numero " + text(rows, "Numero");
      if (numbered && !rows.field("Anno").is_null()) listed += "/" + text(rows, "Anno");
      return ListedRow{listed, missing_register(customer, who)};
    };
  } else if (const HeaderKind* kind = header_kind(block, true)) {
    const std::string header(kind->header), key(kind->header_key), row_key(kind->row_key), who = who_of(header);
    const Headers& kept = headers(archive, header, only == nullptr);
    own_key = row_key;
    sql = "SELECT " + row_key + ", " + key + " FROM " + block;
    joins = {{key, header, key}};
    targets = {{header, key}, {"CliFor", "idCliFor"}};
    examine = [&kept, key, row_key, who, order](Recordset& rows) -> std::optional<ListedRow> {
      const Value& reference = rows.field(key);
      if (kept.written.finds(reference)) return std::nullopt;
      ListedRow row{row_key + " " + text(rows, row_key) + ", " + key + " " + ValueText(reference), {}};
      if (reference.is_null()) {
        row.reason = key + " vuoto";
      } else if (auto excluded = kept.excluded.find(JoinKey(reference, order)); excluded != kept.excluded.end()) {
        row.reason = "testata " + ValueText(reference) + " esclusa (" + missing_register(excluded->second, who) + ")";
      } else if (kept.all.finds(reference)) {
        row.reason = "testata " + ValueText(reference) + " esclusa";  // a header held twice, one written
      } else {
        row.reason = "testata " + ValueText(reference) + " inesistente";
      }
      return row;
    };
  } else {
    return;  // no join leaves this block's rows out
  }

  // With every target a unique key, each row is written at most once, so the rows left out are
  // the table's rows less the records written: the count is known, and the table is read only
  // as far as the list needs.
  bool unique = true;
  for (const auto& [table, column] : targets) unique = unique && archive::SideReads(archive).has_unique_index(table, column);
  const auto own = counts.find(own_table);
  std::optional<std::int64_t> known;
  if (unique && !full_read && own != counts.end()) known = own->second - report.written;
  if (known && *known <= 0) return;

  const Scan read = scan(archive, sql, only, report, known, examine);
  if (read.stopped) {
    report.left_out.add_unlisted(std::max<std::int64_t>(0, *known - report.left_out.count()));
    return;
  }
  // Every row not left out is written once per match, so the records beyond that number are copies.
  const std::int64_t extra = report.written - (read.rows - report.left_out.count());
  if (extra <= 0) return;
  report.extra_copies = extra;
  // The list may miss copies made by a join further away (a header's customer held twice); the
  // count of copies does not.
  list_duplicates(archive, own_table, own_key, joins, report);
}

}  // namespace tarvik::report
