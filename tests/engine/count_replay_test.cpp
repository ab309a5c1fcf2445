// A record set read after its count was made exact replays the rows the count pass kept, and
// joined tables' indexes are taken from earlier queries: neither may change a row, its order or
// its count. Each query of the exporters' kinds is read three ways on the sample archive (which
// holds orphans, so joins drop rows): forward only on a freshly opened archive (the joins run),
// after move-last and move-first (the rows replayed), and on an archive whose joined indexes
// were built by other queries first.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/run_archives.h"
#include "archive/archive_error.h"
#include "engine/engine_support.h"
#include "engine/sample_archive_suite.h"

namespace tarvik::test {
namespace {

using archive::Database;

// Forward from the first row, never moving to the last: the rows as the joins give them.
Rows read_forward(archive::Recordset& rs) {
  Rows rows;
  while (!rs.eof()) {
    std::vector<Value> row;
    for (std::size_t i = 0; i < rs.fields().size(); ++i) row.push_back(rs.field(i));
    rows.push_back(std::move(row));
    rs.move_next();
  }
  return rows;
}

const char* const kQueries[] = {
    "SELECT TestataFatture.* FROM TestataFatture INNER JOIN CliFor ON TestataFatture.idCliFor = CliFor.idCliFor",
    "SELECT RigheFatture.* FROM (RigheFatture INNER JOIN TestataFatture ON RigheFatture.idDocumento = "
    "TestataFatture.idDocumento) INNER JOIN CliFor ON TestataFatture.idCliFor = CliFor.idCliFor",
    "SELECT CliFor.idCliFor, CliFor.idAgente FROM (CliFor INNER JOIN Agenti ON CliFor.idAgente = Agenti.idCliFor) "
    "INNER JOIN CliFor AS CliFor_1 ON Agenti.idCliFor = CliFor_1.idCliFor",
    "SELECT LinkMagazzinoFornitori.* FROM (LinkMagazzinoFornitori INNER JOIN Magazzino ON "
    "LinkMagazzinoFornitori.CodiceArticolo = Magazzino.Codice) INNER JOIN CliFor ON "
    "LinkMagazzinoFornitori.idCliFor = CliFor.idCliFor",
    "SELECT TestataFattAcc.idDocumento, CliFor.idCliFor FROM TestataFattAcc LEFT JOIN CliFor ON "
    "TestataFattAcc.idDestinazione = CliFor.idCliFor",
    "SELECT Codice, Barcode FROM Magazzino WHERE LEN(Barcode) > 0",
    "SELECT * FROM CliFor",
};

class CountReplay : public SampleArchiveSuite {};

TEST_F(CountReplay, ReplayedRowsEqualTheRowsTheJoinsGive) {
  for (const char* sql : kQueries) {
    SCOPED_TRACE(sql);
    Rows forward;
    {
      auto fresh = Database::open(archive_path());
      auto rs = fresh->open_snapshot(sql);
      forward = read_forward(*rs);
    }
    ASSERT_FALSE(forward.empty());
    auto db = Database::open(archive_path());
    auto rs = db->open_snapshot(sql);
    std::int32_t count = 0;
    EXPECT_EQ(read_all(*rs, &count), forward);  // counted, then replayed
    EXPECT_EQ(static_cast<std::size_t>(count), forward.size());
    rs->move_first();  // and replayed once more
    EXPECT_EQ(read_forward(*rs), forward);
    rs->move_last();
    EXPECT_EQ(rs->field(0), forward.back()[0]);
  }
}

TEST_F(CountReplay, KeptJoinIndexesGiveTheSameRows) {
  // Every query on one archive, in turn and then backwards: each finds the indexes the others
  // left (the register's id most of all) and must read what a fresh archive reads.
  std::vector<Rows> fresh;
  for (const char* sql : kQueries) {
    auto db = Database::open(archive_path());
    fresh.push_back(query(*db, sql));
  }
  auto db = Database::open(archive_path());
  for (std::size_t i = 0; i < std::size(kQueries); ++i) EXPECT_EQ(query(*db, kQueries[i]), fresh[i]) << kQueries[i];
  for (std::size_t i = std::size(kQueries); i-- > 0;) EXPECT_EQ(query(*db, kQueries[i]), fresh[i]) << kQueries[i];
}

TEST_F(CountReplay, TableCountsEqualAScan) {
  auto db = Database::open(archive_path());
  const auto file = archive::jet::JetFile::open(archive_path());
  for (const std::string& table : run::counted_tables()) {
    auto rs = db->open_table(table);
    EXPECT_EQ(rs->record_count(), run::count_rows(*file, table)) << table;
  }
}

TEST_F(CountReplay, FieldsReadByNameInChangingOrders) {
  // Names asked in one order, then another, then with other letter case: each read must find its
  // own column whatever was asked before it.
  auto db = Database::open(archive_path());
  auto rs = db->open_snapshot("SELECT idCliFor, idAgente, Note FROM CliFor");
  const Value id = rs->field(0), agent = rs->field(1);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(rs->field("idCliFor"), id);
    EXPECT_EQ(rs->field("idAgente"), agent);
  }
  EXPECT_EQ(rs->field("idAgente"), agent);
  EXPECT_EQ(rs->field("IDCLIFOR"), id);
  EXPECT_EQ(rs->field("idcliFor"), id);
  EXPECT_THROW(rs->field("idClienteFornitore"), archive::ArchiveError);
  EXPECT_EQ(rs->field("idAgente"), agent);
  rs->move_next();
  EXPECT_EQ(rs->field("idCliFor"), rs->field(0));
  EXPECT_NE(rs->field("idCliFor"), id);
}

}  // namespace
}  // namespace tarvik::test

namespace tarvik::test {
namespace {

// The duplicate-supplier query groups every pair and keeps those met more than once: its rows
// must be exactly the pairs a plain scan counts twice or more, sorted by item code.
TEST(GroupHaving, DuplicatedPairsEqualAPlainCount) {
  const auto folder = std::filesystem::temp_directory_path() / ("tarvik-having-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  run::write_sample(folder, run::SampleVariant::DuplicateSuppliers);
  const std::string path = (folder / run::kArchiveName).string();
  std::map<std::pair<std::string, std::int32_t>, std::int32_t> pairs;
  {
    const auto file = archive::jet::JetFile::open(path);
    for (const auto& r : run::scan_rows(*file, "LinkMagazzinoFornitori", {"CodiceArticolo", "idCliFor"}))
      if (!r[0].is_null() && !r[1].is_null()) ++pairs[{folded(r[0]), r[1].as_long()}];
  }
  std::map<std::pair<std::string, std::int32_t>, std::int32_t> expected;
  for (const auto& [pair, n] : pairs)
    if (n > 1) expected[pair] = n;
  ASSERT_FALSE(expected.empty()) << "the variant must plant duplicated pairs";

  auto db = Database::open(path);
  const Rows rows = query(*db,
                          "select CodiceArticolo, idCliFor, count(CodiceArticolo) from LinkMagazzinoFornitori "
                          "group by CodiceArticolo, idCliFor having count(CodiceArticolo) > 1");
  std::map<std::pair<std::string, std::int32_t>, std::int32_t> found;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    found[{folded(rows[i][0]), rows[i][1].as_long()}] = rows[i][2].as_long();
    if (i > 0) {
      EXPECT_LE(folded(rows[i - 1][0]), folded(rows[i][0]));
    }
  }
  EXPECT_EQ(rows.size(), expected.size());
  EXPECT_EQ(found, expected);
  db->close();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tarvik::test
