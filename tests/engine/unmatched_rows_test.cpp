// The leftmost rows a query gave no row, as its walk notes them, checked against the join worked
// out here from plain scans; and the snapshot that reads those rows alone by their pointers.
#include <gtest/gtest.h>

#include <stdexcept>

#include "archive/side_reads.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::Database;
using archive::UnmatchedRows;

constexpr const char* kClientsAndOrders =
    "SELECT Client.CodeCli, Commande.NoCom FROM Client INNER JOIN Commande ON Client.CodeCli = Commande.CodeCli";

class UnmatchedRowsTest : public ::testing::Test {
 protected:
  ArchiveCopy archive{kComptoir};
  std::unique_ptr<Database> db = Database::open(archive.path());
  Rows clients = scan_table(archive.path(), "Client");
  Rows orders = scan_table(archive.path(), "Commande");
  std::size_t order_client = column_of(archive.path(), "Commande", "CodeCli");

  bool has_order(const Value& client_code) const {
    for (const auto& o : orders)
      if (!o[order_client].is_null() && folded(o[order_client]) == folded(client_code)) return true;
    return false;
  }

  // The client codes at `pointers`, read by a snapshot of those rows alone.
  std::vector<std::string> codes_at(const std::vector<std::uint32_t>& pointers) {
    auto rows = archive::SideReads(*db).open_snapshot_at("SELECT CodeCli FROM Client", pointers);
    std::vector<std::string> codes;
    for (; !rows->eof(); rows->move_next()) codes.push_back(utf8(rows->field("CodeCli")));
    EXPECT_EQ(rows->record_count(), static_cast<std::int32_t>(pointers.size()));
    return codes;
  }
};

TEST_F(UnmatchedRowsTest, AJoinNotesTheLeftRowsWithoutMatchWhetherWalkedOrCounted) {
  std::vector<std::string> expected;
  for (const auto& c : clients)
    if (!has_order(c[0])) expected.push_back(utf8(c[0]));
  ASSERT_FALSE(expected.empty());
  ASSERT_LT(expected.size(), clients.size());

  // Walked row by row to the end, as a block written ahead reads it.
  auto walked = db->open_snapshot(kClientsAndOrders);
  EXPECT_FALSE(walked->take_unmatched_rows()) << "nothing is known before the walk ends";
  while (!walked->eof()) walked->move_next();
  std::optional<UnmatchedRows> noted = walked->take_unmatched_rows();
  ASSERT_TRUE(noted);
  EXPECT_EQ(noted->rows_read, static_cast<std::int64_t>(clients.size()));
  EXPECT_EQ(codes_at(noted->pointers), expected);
  EXPECT_FALSE(walked->take_unmatched_rows()) << "taken once";

  // Counted first, then read again from the count's trail, as the exporters read it.
  auto counted = db->open_snapshot(kClientsAndOrders);
  counted->move_last();
  counted->move_first();
  while (!counted->eof()) counted->move_next();
  noted = counted->take_unmatched_rows();
  ASSERT_TRUE(noted);
  EXPECT_EQ(codes_at(noted->pointers), expected);
}

TEST_F(UnmatchedRowsTest, RowsWhoseEveryMatchWhereRefusesAreUnmatchedToo) {
  // Only the orders after the first hundred count: a client whose orders are all among the first
  // hundred gives no row, as one without orders.
  const std::size_t number = column_of(archive.path(), "Commande", "NoCom");
  long long first = whole(orders[0][number]);
  for (const auto& o : orders) first = std::min(first, whole(o[number]));
  const long long limit = first + 100;
  std::vector<std::string> expected;
  std::size_t without_orders = 0;
  for (const auto& c : clients) {
    without_orders += has_order(c[0]) ? 0 : 1;
    bool kept = false;
    for (const auto& o : orders)
      kept = kept || (!o[order_client].is_null() && folded(o[order_client]) == folded(c[0]) && whole(o[number]) >= limit);
    if (!kept) expected.push_back(utf8(c[0]));
  }
  auto rows = db->open_snapshot(std::string(kClientsAndOrders) + " WHERE Commande.NoCom >= " + std::to_string(limit));
  while (!rows->eof()) rows->move_next();
  const std::optional<UnmatchedRows> noted = rows->take_unmatched_rows();
  ASSERT_TRUE(noted);
  ASSERT_GT(expected.size(), without_orders) << "WHERE must refuse some clients' every order";
  EXPECT_EQ(codes_at(noted->pointers), expected);
}

TEST_F(UnmatchedRowsTest, RowsByPointerNeedAQueryOfOneTableWithoutWhere) {
  EXPECT_THROW(archive::SideReads(*db).open_snapshot_at(kClientsAndOrders, {}), std::logic_error);
  EXPECT_THROW(archive::SideReads(*db).open_snapshot_at("SELECT CodeCli FROM Client WHERE CodeCli = 'X'", {}), std::logic_error);
  EXPECT_TRUE(codes_at({}).empty());
}

}  // namespace
}  // namespace tarvik::test
