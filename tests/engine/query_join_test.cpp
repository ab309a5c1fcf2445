// Joins on a real Access archive (a French Northwind), each checked against the join computed
// here from plain scans: rows of the leftmost table in physical order, each followed by its
// matches in the physical order of the joined table; orphans dropped; nulls never matching.
#include <gtest/gtest.h>

#include <set>

#include "archive/archive_error.h"
#include "archive/side_reads.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::Database;

class Joins : public ::testing::Test {
 protected:
  ArchiveCopy archive{kComptoir};
  std::unique_ptr<Database> db = Database::open(archive.path());
  Rows clients = scan_table(archive.path(), "Client");
  Rows orders = scan_table(archive.path(), "Commande");
  Rows details = scan_table(archive.path(), "DetailCommande");
  Rows employees = scan_table(archive.path(), "Employe");
  Rows products = scan_table(archive.path(), "Produit");
};

bool same_text(const Value& a, const Value& b) {
  return !a.is_null() && !b.is_null() && folded(a) == folded(b);
}

TEST_F(Joins, EachLeftRowIsFollowedByItsMatchesInPhysicalOrder) {
  Rows expected;
  for (const auto& c : clients) {
    for (const auto& o : orders) {
      if (same_text(c[0], o[1])) expected.push_back({c[0], o[0]});
    }
  }
  const Rows got = query(*db,
      "SELECT Client.CodeCli, Commande.NoCom FROM Client INNER JOIN Commande ON Client.CodeCli = Commande.CodeCli");
  EXPECT_GT(expected.size(), clients.size());  // clients with several orders
  EXPECT_EQ(got, expected);
}

TEST_F(Joins, LeftJoinWithIsNullFindsTheRowsWithoutMatch) {
  Rows expected;
  for (const auto& c : clients) {
    bool matched = false;
    for (const auto& o : orders) matched = matched || same_text(c[0], o[1]);
    if (!matched) expected.push_back(c);
  }
  ASSERT_FALSE(expected.empty());
  const Rows got = query(*db,
      "select Client.* from Client left join Commande on Client.CodeCli = Commande.CodeCli where Commande.NoCom is null");
  EXPECT_EQ(got, expected);
}

// A null test of the joined table's own key says whether the row found a match (a null key
// matches nothing), in WHERE, under NOT and in the select list alike.
TEST_F(Joins, NullTestOfTheJoinedKeyTellsMatchedFromUnmatched) {
  Rows unmatched, matched, flagged;
  for (const auto& c : clients) {
    bool found = false;
    for (const auto& o : orders) {
      if (!same_text(c[0], o[1])) continue;
      matched.push_back({c[0], o[0]});
      flagged.push_back({c[0], Value::boolean(false)});
      found = true;
    }
    if (!found) {
      unmatched.push_back({c[0]});
      flagged.push_back({c[0], Value::boolean(true)});
    }
  }
  ASSERT_FALSE(unmatched.empty());
  const std::string join = " from Client left join Commande on Client.CodeCli = Commande.CodeCli";
  EXPECT_EQ(query(*db, "select Client.CodeCli" + join + " where Commande.CodeCli is null"), unmatched);
  EXPECT_EQ(query(*db, "select Client.CodeCli, Commande.NoCom" + join + " where not (Commande.CodeCli is null)"), matched);
  EXPECT_EQ(query(*db, "select Client.CodeCli, Commande.CodeCli is null" + join), flagged);
  EXPECT_TRUE(query(*db, "select Client.CodeCli from Client inner join Commande on Client.CodeCli = "
                         "Commande.CodeCli where Commande.CodeCli is null").empty());
}

TEST_F(Joins, LeftJoinKeepsEveryLeftRowOnceWithNullsWhenUnmatched) {
  Rows expected;
  for (const auto& c : clients) {
    bool matched = false;
    for (const auto& o : orders) {
      if (same_text(c[0], o[1])) {
        expected.push_back({c[0], o[0]});
        matched = true;
      }
    }
    if (!matched) expected.push_back({c[0], Value()});
  }
  EXPECT_EQ(query(*db, "SELECT Client.CodeCli, Commande.NoCom FROM Client LEFT JOIN Commande ON "
                       "Client.CodeCli = Commande.CodeCli"),
            expected);
}

TEST_F(Joins, TwoNestedJoinsKeepOnlyRowsWhoseWholeChainExists) {
  // The shape of the document rows query: rows, their header, the header's customer.
  Rows expected;
  for (const auto& d : details) {
    for (const auto& o : orders) {
      if (whole(d[0]) != whole(o[0])) continue;
      for (const auto& c : clients) {
        if (same_text(o[1], c[0])) expected.push_back(d);
      }
    }
  }
  EXPECT_EQ(query(*db, "SELECT DetailCommande.* FROM (DetailCommande INNER JOIN Commande ON DetailCommande.Nocom = "
                       "Commande.NoCom) INNER JOIN Client ON Commande.CodeCli = Client.CodeCli"),
            expected);
}

TEST_F(Joins, TableJoinedToItselfThroughAliases) {
  Rows expected;
  for (const auto& e : employees) {
    for (const auto& boss : employees) {
      if (!e[14].is_null() && whole(e[14]) == whole(boss[0])) expected.push_back({e[1], boss[1]});
    }
  }
  ASSERT_LT(expected.size(), employees.size());  // the top boss reports to nobody: a null key
  auto rs = db->open_snapshot(
      "SELECT Employe.Nom, Chef.Nom FROM Employe INNER JOIN Employe AS Chef ON Employe.RendCompteA = Chef.NoEmp");
  EXPECT_EQ(rs->fields()[0].name, "Employe.Nom");
  EXPECT_EQ(rs->fields()[1].name, "Chef.Nom");
  EXPECT_EQ(read_all(*rs), expected);
}

TEST_F(Joins, SelfJoinThroughAMiddleTableAsForAgentLinks) {
  // The shape of the agent links query: a row, the row it names, and that row's own record.
  Rows expected;
  for (const auto& e : employees) {
    for (const auto& boss : employees) {
      if (e[14].is_null() || whole(e[14]) != whole(boss[0])) continue;
      for (const auto& again : employees) {
        if (whole(boss[0]) == whole(again[0])) expected.push_back({e[0], e[14]});
      }
    }
  }
  EXPECT_EQ(query(*db, "SELECT Employe.NoEmp, Employe.RendCompteA FROM (Employe INNER JOIN Employe AS Chef ON "
                       "Employe.RendCompteA = Chef.NoEmp) INNER JOIN Employe AS Employe_1 ON Chef.NoEmp = "
                       "Employe_1.NoEmp"),
            expected);
}

TEST_F(Joins, TextJoinsIgnoreLetterCase) {
  // Orders shipped to "Paris" meet the customer whose code is "PARIS".
  Rows expected;
  for (const auto& o : orders) {
    for (const auto& c : clients) {
      if (same_text(o[10], c[0])) expected.push_back({o[0], c[0]});
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT Commande.NoCom, Client.CodeCli FROM Commande INNER JOIN Client ON Commande.VilleLiv "
                       "= Client.CodeCli"),
            expected);
}

TEST_F(Joins, NumbersOfDifferentWidthsJoinByValue) {
  // Integer (16-bit) quantity against Long product number.
  Rows expected;
  for (const auto& d : details) {
    for (const auto& p : products) {
      if (whole(d[3]) == whole(p[0])) expected.push_back({d[0], d[3], p[0]});
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT DetailCommande.Nocom, DetailCommande.Qte, Produit.Refprod FROM DetailCommande INNER "
                       "JOIN Produit ON DetailCommande.Qte = Produit.Refprod"),
            expected);
}

TEST_F(Joins, CurrencyJoinsALongOnlyWhereTheAmountIsWhole) {
  Rows expected;
  for (const auto& d : details) {
    for (const auto& p : products) {
      if (p[5].as_currency().ten_thousandths == static_cast<long long>(d[2].as_long()) * 10000) {
        expected.push_back({d[0], p[0]});
      }
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT DetailCommande.Nocom, Produit.Refprod FROM DetailCommande INNER JOIN Produit ON "
                       "DetailCommande.PrixUnit = Produit.PrixUnit"),
            expected);
}

TEST_F(Joins, JoinToAParenthesisedJoinTakesItsRowsInItsOwnOrder) {
  Rows expected;
  for (const auto& c : clients) {
    for (const auto& o : orders) {
      if (!same_text(c[0], o[1])) continue;
      for (const auto& e : employees) {
        if (whole(o[2]) == whole(e[0])) expected.push_back({c[0], o[0], e[1]});
      }
    }
  }
  EXPECT_EQ(query(*db, "SELECT Client.CodeCli, Commande.NoCom, Employe.Nom FROM Client INNER JOIN (Commande INNER "
                       "JOIN Employe ON Commande.NoEmp = Employe.NoEmp) ON Client.CodeCli = Commande.CodeCli"),
            expected);
}

TEST_F(Joins, NullKeysNeverMatch) {
  Rows expected;
  for (const auto& a : clients) {
    for (const auto& b : clients) {
      if (same_text(a[6], b[6])) expected.push_back({a[0], b[0]});
    }
  }
  const Rows got = query(*db, "SELECT a.CodeCli, b.CodeCli FROM Client AS a INNER JOIN Client AS b ON a.Region = b.Region");
  EXPECT_EQ(got, expected);
  std::size_t with_region = 0;
  for (const auto& c : clients) with_region += c[6].is_null() ? 0 : 1;
  EXPECT_LT(with_region, clients.size());
}

TEST_F(Joins, WhereAppliesAfterTheJoinOnEitherSide) {
  Rows expected;
  for (const auto& o : orders) {
    for (const auto& e : employees) {
      if (whole(o[2]) == whole(e[0]) && folded(e[1]) == "davolio" && whole(o[0]) > 10500) expected.push_back({o[0]});
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT Commande.NoCom FROM Commande INNER JOIN Employe ON Commande.NoEmp = Employe.NoEmp "
                       "WHERE Employe.Nom = 'DAVOLIO' AND Commande.NoCom > 10500"),
            expected);
}

// A look-up by value answers as the join on that column does: a customer's code is found among
// the orders exactly when the join keeps the customer (some have no order), whichever comes first
// (the look-up sharing the join's index, or building the one the join then takes), whatever the
// letter case of a text.
TEST_F(Joins, KeyLookupFindsWhatTheJoinKeeps) {
  const std::size_t code = column_of(archive.path(), "Client", "CodeCli");
  const char* const join = "SELECT Client.CodeCli FROM Client INNER JOIN Commande ON Client.CodeCli = Commande.CodeCli";
  const Rows expected = query(*db, join);  // the join alone, building its own index
  std::set<std::string> kept;
  for (const auto& r : expected) kept.insert(utf8(r[0]));
  ASSERT_FALSE(kept.empty());
  ASSERT_LT(kept.size(), clients.size());
  EXPECT_THROW(archive::SideReads(*db).key_lookup("Commande", "NoSuchColumn"), archive::ArchiveError);
  EXPECT_THROW(archive::SideReads(*db).key_lookup("NoSuchTable", "CodeCli"), archive::ArchiveError);
  db->close();  // each round opens the archive afresh, with no index kept
  for (bool join_first : {true, false}) {
    auto fresh = Database::open(archive.path());
    Rows joined;
    if (join_first) joined = query(*fresh, join);
    const archive::KeyLookup orders_by_customer = archive::SideReads(*fresh).key_lookup("commande", "codecli");
    if (!join_first) joined = query(*fresh, join);
    EXPECT_EQ(joined, expected);
    std::size_t found = 0;
    for (const auto& client : clients) {
      const bool finds = orders_by_customer.finds(client[code]);
      EXPECT_EQ(finds, kept.count(utf8(client[code])) > 0) << utf8(client[code]);
      found += finds;
      std::u16string lower = client[code].as_text();
      for (char16_t& c : lower) c = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
      EXPECT_EQ(orders_by_customer.finds(Value::text(lower)), finds);
    }
    EXPECT_EQ(found, kept.size());
    EXPECT_FALSE(orders_by_customer.finds(Value()));
  }
}

}  // namespace
}  // namespace tarvik::test
