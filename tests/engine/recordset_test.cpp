// Record sets as the checks and exporters use them: begin and end of set, moves, the count that
// move-last makes exact, fields by name, and on a table-kind set the keyed seek.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "archive/corpus.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::Database;
using archive::Recordset;

template <typename F>
int error_of(F&& f) {
  try {
    f();
  } catch (const ArchiveError& e) {
    return e.number();
  }
  return 0;
}

class Records : public ::testing::Test {
 protected:
  ArchiveCopy archive{kComptoir};
  std::unique_ptr<Database> db = Database::open(archive.path());
  Rows orders = scan_table(archive.path(), "Commande");
  Rows clients = scan_table(archive.path(), "Client");
};

TEST_F(Records, SnapshotCountsRowsReachedUntilMoveLastMakesItExact) {
  auto rs = db->open_snapshot("SELECT NoCom, CodeCli FROM Commande WHERE NoCom > 10300");
  EXPECT_FALSE(rs->bof());
  EXPECT_FALSE(rs->eof());
  EXPECT_EQ(rs->record_count(), 1);
  rs->move_next();
  EXPECT_EQ(rs->record_count(), 2);
  rs->move_last();
  std::int32_t expected = 0;
  for (const auto& o : orders) expected += o[0].as_long() > 10300 ? 1 : 0;
  EXPECT_EQ(rs->record_count(), expected);
  EXPECT_EQ(rs->field("NoCom"), orders.back()[0]);  // the last row is current
  rs->move_next();
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(error_of([&] { rs->move_next(); }), 3021);
  EXPECT_EQ(error_of([&] { rs->field("NoCom"); }), 3021);
  rs->move_first();
  EXPECT_FALSE(rs->eof());
  std::size_t first = 0;
  while (orders[first][0].as_long() <= 10300) ++first;
  EXPECT_EQ(rs->field("nocom"), orders[first][0]);
  EXPECT_EQ(rs->record_count(), expected);
}

TEST_F(Records, ReadingTwiceGivesTheSameRows) {
  auto rs = db->open_snapshot("SELECT Commande.* FROM Commande INNER JOIN Client ON Commande.CodeCli = Client.CodeCli");
  const Rows once = read_all(*rs);
  const Rows twice = read_all(*rs);
  EXPECT_EQ(once, twice);
  EXPECT_EQ(once.size(), orders.size());
}

// A query selecting exactly its table's columns hands out the table's rows as read; one that
// picks or reorders columns computes its rows. Either way every move lands on the right row,
// whether the source moves (next, last, first after the end) or not (first while on the first).
TEST_F(Records, RowsAreRightAfterEveryKindOfMove) {
  const std::pair<const char*, bool> queries[] = {
      {"SELECT * FROM Commande", false},
      {"SELECT Commande.* FROM Commande INNER JOIN Client ON Commande.CodeCli = Client.CodeCli", false},
      {"SELECT CodeCli, NoCom FROM Commande", true},
  };
  for (const auto& [sql, picked] : queries) {
    SCOPED_TRACE(sql);
    auto expected_row = [&, picked = picked](std::size_t n) {
      return picked ? std::vector<Value>{orders[n][1], orders[n][0]} : orders[n];
    };
    auto current_row = [&](Recordset& rs) {
      std::vector<Value> row;
      for (std::size_t i = 0; i < rs.fields().size(); ++i) row.push_back(rs.field(i));
      return row;
    };
    auto rs = db->open_snapshot(sql);
    EXPECT_EQ(current_row(*rs), expected_row(0));
    rs->move_first();  // already there: the row is not read again
    EXPECT_EQ(current_row(*rs), expected_row(0));
    rs->move_next();
    rs->move_next();
    EXPECT_EQ(current_row(*rs), expected_row(2));
    rs->move_last();
    EXPECT_EQ(current_row(*rs), expected_row(orders.size() - 1));
    rs->move_first();
    EXPECT_EQ(current_row(*rs), expected_row(0));
    rs->move_next();
    EXPECT_EQ(current_row(*rs), expected_row(1));
  }
}

TEST_F(Records, EmptySetIsAtBothEndsAndHasNoRowToMoveTo) {
  auto rs = db->open_snapshot("SELECT * FROM Client WHERE CodeCli IS NULL");
  EXPECT_TRUE(rs->bof());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->record_count(), 0);
  EXPECT_EQ(error_of([&] { rs->move_first(); }), 3021);
  EXPECT_EQ(error_of([&] { rs->move_last(); }), 3021);
  EXPECT_EQ(error_of([&] { rs->field("CodeCli"); }), 3021);
}

TEST_F(Records, FieldsAreFoundByNameWithoutRegardToCase) {
  auto rs = db->open_snapshot("SELECT * FROM Client");
  EXPECT_EQ(rs->field("codecli"), clients[0][0]);
  EXPECT_EQ(rs->field("SOCIETE"), clients[0][1]);
  try {
    rs->field("Nessuno");
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3265);
    EXPECT_EQ(e.description(), "Elemento non trovato nell'insieme.");
  }
}

TEST_F(Records, TableKindSetKnowsItsCountAndReadsInPhysicalOrder) {
  auto rs = db->open_table("client");
  EXPECT_EQ(rs->kind(), Recordset::Kind::Table);
  EXPECT_EQ(rs->record_count(), static_cast<std::int32_t>(clients.size()));
  EXPECT_EQ(read_all(*rs), clients);
}

TEST_F(Records, CountingATableAsTheTotalDoes) {
  for (const char* name : {"Commande", "DetailCommande", "Messager"}) {
    auto rs = db->open_table(name);
    if (!rs->eof()) {
      rs->move_last();
      rs->move_first();
    }
    EXPECT_EQ(rs->record_count(), static_cast<std::int32_t>(scan_table(archive.path(), name).size())) << name;
    rs->close();
  }
}

// A query that keeps every row of one table takes its count from the table's rows counted where
// they stand (shared with the total's table-kind count) and then reads them in one scan: on tables
// with moved and deleted rows, the count, the rows and their order are the scan's, whether the
// table was counted before or not, and on a second set of the same query.
TEST(PlainQueryCount, EqualsTheRowsOfTablesWithMovedAndDeletedRows) {
  for (const auto& [file, table] : {std::pair{"jackcess/overflowTestV2000.mdb", "Table1"},
                                    std::pair{"jackcess/delTestV2000.mdb", "Table"},
                                    std::pair{"fxjollois-donnees/MONDIAL.accdb", "City"}}) {
    SCOPED_TRACE(file);
    const std::string path = corpus_file(file);
    const Rows scanned = scan_table(path, table);
    ASSERT_FALSE(scanned.empty());
    for (bool counted_first : {false, true}) {
      auto db = Database::open(path);
      if (counted_first) {
        EXPECT_EQ(db->open_table(table)->record_count(), static_cast<std::int32_t>(scanned.size()));
      }
      for (int round = 0; round < 2; ++round) {
        auto rs = db->open_snapshot(std::string("SELECT * FROM [") + table + "]");
        std::int32_t count = 0;
        EXPECT_EQ(read_all(*rs, &count), scanned);
        EXPECT_EQ(count, static_cast<std::int32_t>(scanned.size()));
      }
    }
  }
}

TEST_F(Records, SeekOnThePrimaryKeyFindsTheRow) {
  auto rs = db->open_table("Commande");
  rs->set_index("PrimaryKey");
  const auto& target = orders[orders.size() / 2];
  rs->seek("=", {target[0]});
  EXPECT_FALSE(rs->no_match());
  EXPECT_EQ(rs->field("CodeCli"), target[1]);
  // The key's width does not matter, only its value.
  rs->seek("=", {Value::integer(static_cast<std::int16_t>(orders[0][0].as_long()))});
  EXPECT_FALSE(rs->no_match());
  EXPECT_EQ(rs->field("NoCom"), orders[0][0]);
}

TEST_F(Records, SeekThatFindsNothingOrHasANullKeySetsNoMatch) {
  auto rs = db->open_table("Commande");
  rs->set_index("primarykey");
  rs->seek("=", {Value::long_(-5)});
  EXPECT_TRUE(rs->no_match());
  EXPECT_EQ(error_of([&] { rs->field("NoCom"); }), 3021);
  rs->seek("=", {Value()});
  EXPECT_TRUE(rs->no_match());
  rs->seek("=", {orders[0][0]});
  EXPECT_FALSE(rs->no_match());
}

TEST_F(Records, SeekOnTextAndTwoColumnKeys) {
  auto rs = db->open_table("Client");
  rs->set_index("PrimaryKey");
  rs->seek("=", {text("alfki")});
  EXPECT_FALSE(rs->no_match());
  EXPECT_EQ(utf8(rs->field("CodeCli")), "ALFKI");
  rs->close();
  const Rows details = scan_table(archive.path(), "DetailCommande");
  rs = db->open_table("DetailCommande");
  rs->set_index("PrimaryKey");
  rs->seek("=", {details[7][0], details[7][1]});
  EXPECT_FALSE(rs->no_match());
  EXPECT_EQ(rs->field("Qte"), details[7][3]);
  rs->seek("=", {details[7][0], Value::long_(-1)});
  EXPECT_TRUE(rs->no_match());
}

TEST_F(Records, SeekOnEveryKeyOfATableFindsEachRow) {
  // Many seeks from new record sets, as the journal documents do: one index read, then look-ups.
  for (const auto& o : orders) {
    auto rs = db->open_table("Commande");
    rs->set_index("PrimaryKey");
    rs->seek("=", {o[0]});
    ASSERT_FALSE(rs->no_match());
    rs->close();
  }
}

TEST_F(Records, SeekMisuseIsRefused) {
  auto snapshot = db->open_snapshot("SELECT * FROM Commande");
  EXPECT_EQ(error_of([&] { snapshot->set_index("PrimaryKey"); }), 3251);
  EXPECT_EQ(error_of([&] { snapshot->seek("=", {Value::long_(1)}); }), 3251);
  auto rs = db->open_table("Commande");
  EXPECT_EQ(error_of([&] { rs->seek("=", {Value::long_(1)}); }), 3019);
  EXPECT_EQ(error_of([&] { rs->set_index("Nessuno"); }), 3015);
  rs->set_index("PrimaryKey");
  EXPECT_EQ(error_of([&] { rs->seek(">", {Value::long_(1)}); }), 3251);
  EXPECT_EQ(error_of([&] { rs->seek("=", {Value::long_(1), Value::long_(2)}); }), 3251);
  EXPECT_EQ(error_of([&] { rs->seek("=", {text("x")}); }), 3464);
  EXPECT_EQ(error_of([&] { rs->move_next(); }), 3251);
}

TEST_F(Records, AClosedSetRefusesEverything) {
  auto rs = db->open_snapshot("SELECT * FROM Commande");
  rs->close();
  EXPECT_EQ(error_of([&] { rs->eof(); }), 3420);
  EXPECT_EQ(error_of([&] { rs->move_next(); }), 3420);
  EXPECT_EQ(error_of([&] { rs->field("NoCom"); }), 3420);
}

}  // namespace
}  // namespace tarvik::test
