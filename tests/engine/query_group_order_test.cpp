// GROUP BY, HAVING, COUNT, DISTINCT and ORDER BY on a real archive, against results computed
// from plain scans: groups and distinct rows sorted by their keys, nulls first, ORDER BY stable.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::Database;

class GroupOrder : public ::testing::Test {
 protected:
  ArchiveCopy archive{kComptoir};
  std::unique_ptr<Database> db = Database::open(archive.path());
  Rows clients = scan_table(archive.path(), "Client");
  Rows orders = scan_table(archive.path(), "Commande");
};

// Nulls first, then text with case and accents set aside.
int order_of(const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return int(!a.is_null()) - int(!b.is_null());
  const std::string x = folded(a), y = folded(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

TEST_F(GroupOrder, GroupByWithHavingCountsAndSortsByKey) {
  std::map<std::string, std::pair<Value, std::int32_t>> groups;  // folded key: first value, count
  for (const auto& o : orders) {
    auto [it, inserted] = groups.try_emplace(folded(o[1]), o[1], 0);
    ++it->second.second;
  }
  Rows expected;
  for (const auto& [key, group] : groups) {
    if (group.second > 10) expected.push_back({group.first, Value::long_(group.second)});
  }
  ASSERT_GE(expected.size(), 2u);
  auto rs = db->open_snapshot(
      "select CodeCli, count(NoCom) from Commande group by CodeCli having count(NoCom) > 10");
  EXPECT_EQ(rs->fields()[1].name, "Expr1001");
  EXPECT_EQ(rs->fields()[1].type, archive::FieldType::Long);
  EXPECT_EQ(read_all(*rs), expected);
}

TEST_F(GroupOrder, GroupsOfAJoinTakeTheirKeysFromTheirFirstRowWhateverHavingReads) {
  // Per country of the ordering client: the spelling of the first joined row met (orders in
  // physical order, each with its clients in theirs), and the number of orders.
  std::map<std::string, std::pair<Value, std::int32_t>> groups;
  for (const auto& o : orders) {
    for (const auto& c : clients) {
      if (o[1].is_null() || folded(o[1]) != folded(c[0])) continue;
      auto [it, inserted] = groups.try_emplace(folded(c[8]), c[8], 0);
      ++it->second.second;
    }
  }
  Rows many, not_france;
  for (const auto& [key, group] : groups) {
    const Rows::value_type row = {group.first, Value::long_(group.second)};
    if (group.second > 20) many.push_back(row);
    if (key != folded(text("France"))) not_france.push_back(row);
  }
  ASSERT_GE(many.size(), 2u);
  ASSERT_LT(many.size(), groups.size());
  ASSERT_LT(not_france.size(), groups.size());
  const std::string grouped =
      "SELECT Client.Pays, COUNT(Commande.NoCom) FROM Commande INNER JOIN Client ON Commande.CodeCli = "
      "Client.CodeCli GROUP BY Client.Pays ";
  // HAVING on the counts alone, and on the key.
  EXPECT_EQ(query(*db, grouped + "HAVING COUNT(Commande.NoCom) > 20"), many);
  EXPECT_EQ(query(*db, grouped + "HAVING Client.Pays <> 'France'"), not_france);
}

TEST_F(GroupOrder, CountOfAColumnSkipsNullsAndCountStarDoesNot) {
  std::map<std::string, std::pair<std::int32_t, std::int32_t>> by_country;
  std::map<std::string, Value> first;
  for (const auto& c : clients) {
    auto& [regions, all] = by_country[folded(c[8])];
    first.try_emplace(folded(c[8]), c[8]);
    regions += c[6].is_null() ? 0 : 1;
    ++all;
  }
  Rows expected;
  for (const auto& [key, counts] : by_country) {
    expected.push_back({first[key], Value::long_(counts.first), Value::long_(counts.second)});
  }
  EXPECT_EQ(query(*db, "SELECT Pays, COUNT(Region), COUNT(*) FROM Client GROUP BY Pays"), expected);
}

TEST_F(GroupOrder, CountWithoutGroupByIsOneRowEvenOverNothing) {
  EXPECT_EQ(query(*db, "SELECT COUNT(NoCom) FROM Commande WHERE NoCom = -1"), (Rows{{Value::long_(0)}}));
  EXPECT_EQ(query(*db, "SELECT COUNT(*) FROM Commande"),
            (Rows{{Value::long_(static_cast<std::int32_t>(orders.size()))}}));
}

TEST_F(GroupOrder, DistinctKeepsOneNullAndSortsNullsFirst) {
  Rows expected;
  for (const auto& c : clients) {
    const bool seen = std::any_of(expected.begin(), expected.end(),
                                  [&](const auto& r) { return order_of(r[0], c[6]) == 0; });
    if (!seen) expected.push_back({c[6]});
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return order_of(a[0], b[0]) < 0; });
  const Rows got = query(*db, "SELECT DISTINCT Region FROM Client");
  ASSERT_FALSE(got.empty());
  EXPECT_TRUE(got[0][0].is_null());
  EXPECT_EQ(got, expected);
}

// Many repeats, dropped as they come: the first met stands for its kind, the distinct rows are
// sorted by all their columns, then ORDER BY sorts them stably.
TEST_F(GroupOrder, DistinctOverAJoinWithManyRepeatsThenOrderBy) {
  Rows expected;
  for (const auto& o : orders) {
    for (const auto& c : clients) {
      if (o[1].is_null() || c[0].is_null() || order_of(o[1], c[0]) != 0) continue;
      const std::vector<Value> row{o[1], c[8]};
      const bool seen = std::any_of(expected.begin(), expected.end(), [&](const auto& r) {
        return order_of(r[0], row[0]) == 0 && order_of(r[1], row[1]) == 0;
      });
      if (!seen) expected.push_back(row);
    }
  }
  ASSERT_LT(expected.size(), orders.size() / 2) << "the orders name few customers each";
  std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    if (int c = order_of(a[0], b[0])) return c < 0;
    return order_of(a[1], b[1]) < 0;
  });
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return order_of(a[1], b[1]) > 0; });
  const Rows got = query(*db, "SELECT DISTINCT Commande.CodeCli, Client.Pays FROM Commande INNER JOIN Client "
                              "ON Commande.CodeCli = Client.CodeCli ORDER BY Client.Pays DESC");
  EXPECT_EQ(got, expected);
}

TEST_F(GroupOrder, OrderByThreeKeysWithNullsAndDescendingIsStable) {
  Rows expected = clients;
  std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    if (int c = order_of(a[8], b[8])) return c < 0;
    if (int c = order_of(a[6], b[6])) return c > 0;  // DESC: nulls last
    return order_of(a[5], b[5]) < 0;
  });
  const Rows got = query(*db, "SELECT * FROM Client ORDER BY Pays, Region DESC, Ville");
  EXPECT_EQ(got, expected);
}

TEST_F(GroupOrder, OrderByKeepsPhysicalOrderAmongEqualKeys) {
  Rows expected;
  for (const auto& o : orders) expected.push_back({o[0], o[1]});
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return order_of(a[1], b[1]) < 0; });
  EXPECT_EQ(query(*db, "SELECT NoCom, CodeCli FROM Commande ORDER BY CodeCli"), expected);
}

TEST_F(GroupOrder, OrderByAJoinedColumnAfterTheJoin) {
  Rows expected;
  for (const auto& o : orders) {
    for (const auto& c : clients) {
      if (!o[1].is_null() && folded(o[1]) == folded(c[0])) expected.push_back({o[0], c[8]});
    }
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return order_of(a[1], b[1]) > 0; });
  EXPECT_EQ(query(*db, "SELECT Commande.NoCom, Client.Pays FROM Commande INNER JOIN Client ON Commande.CodeCli = "
                       "Client.CodeCli ORDER BY Client.Pays DESC"),
            expected);
}

}  // namespace
}  // namespace tarvik::test
