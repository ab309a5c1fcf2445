// WHERE, LEN and the types of selected values, on a real archive, against plain scans.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::Database;
using archive::ValueKind;

class Where : public ::testing::Test {
 protected:
  ArchiveCopy archive{kComptoir};
  std::unique_ptr<Database> db = Database::open(archive.path());
  Rows clients = scan_table(archive.path(), "Client");
  Rows details = scan_table(archive.path(), "DetailCommande");
};

TEST_F(Where, TextLiteralsMatchWithoutRegardToCase) {
  const Rows got = query(*db, "SELECT CodeCli FROM Client WHERE CodeCli = 'alfki'");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(utf8(got[0][0]), "ALFKI");
}

TEST_F(Where, NegativeLiteralFindsNothingAndTheSetIsEmpty) {
  auto rs = db->open_snapshot("SELECT NoCom FROM Commande WHERE NoCom = -1");
  EXPECT_TRUE(rs->bof());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->record_count(), 0);
}

TEST_F(Where, AndOrNotIsNullAndLenTogether) {
  Rows expected;
  for (const auto& c : clients) {
    const bool no_fax = c[10].is_null();
    const bool not_france = folded(c[8]) != "france";
    const bool short_fax = !c[10].is_null() && c[10].as_text().size() < 15;
    if (no_fax || (not_france && short_fax)) expected.push_back({c[0], c[10]});
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT CodeCli, Fax FROM Client WHERE Fax IS NULL OR NOT Pays = 'france' AND LEN(Fax) < 15"),
            expected);
}

TEST_F(Where, AComparisonWithNullIsNeverTrue) {
  Rows expected, with_nulls;
  for (const auto& c : clients) {
    if (!c[6].is_null() && folded(c[6]) != "bc") expected.push_back({c[0]});
    if (!c[6].is_null()) with_nulls.push_back({c[0]});
  }
  EXPECT_EQ(query(*db, "SELECT CodeCli FROM Client WHERE Region <> 'BC'"), expected);
  EXPECT_EQ(query(*db, "SELECT CodeCli FROM Client WHERE NOT (Region IS NULL)"), with_nulls);
  EXPECT_EQ(query(*db, "SELECT CodeCli FROM Client WHERE Region IS NOT NULL"), with_nulls);
  EXPECT_TRUE(query(*db, "SELECT CodeCli FROM Client WHERE NOT (Region = NULL)").empty());
}

TEST_F(Where, LenOfNullIsNullAndLenIsLong) {
  auto rs = db->open_snapshot("SELECT CodeCli, LEN(Region) FROM Client");
  EXPECT_EQ(rs->fields()[1].name, "Expr1001");
  EXPECT_EQ(rs->fields()[1].type, archive::FieldType::Long);
  const Rows got = read_all(*rs);
  ASSERT_EQ(got.size(), clients.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    if (clients[i][6].is_null()) {
      EXPECT_TRUE(got[i][1].is_null());
    } else {
      EXPECT_EQ(got[i][1], Value::long_(static_cast<std::int32_t>(clients[i][6].as_text().size())));
    }
  }
}

TEST_F(Where, NumbersOfDifferentWidthsCompareByValue) {
  Rows expected;
  for (const auto& d : details) {
    if (d[3].as_integer() > d[2].as_long()) expected.push_back({d[0], d[1]});
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(query(*db, "SELECT Nocom, Refprod FROM DetailCommande WHERE Qte > PrixUnit"), expected);
}

TEST_F(Where, SelectedColumnsKeepTheirColumnTypes) {
  auto rs = db->open_snapshot("SELECT Qte, [Remise%], PrixUnit FROM DetailCommande");
  EXPECT_EQ(rs->field("Qte").kind(), ValueKind::Integer);
  EXPECT_EQ(rs->field("remise%").kind(), ValueKind::Single);
  EXPECT_EQ(rs->field("PRIXUNIT").kind(), ValueKind::Long);
  rs = db->open_snapshot("SELECT Indisponible, PrixUnit, UnitesStock, Nomprod FROM Produit");
  EXPECT_EQ(rs->field("Indisponible").kind(), ValueKind::Boolean);
  EXPECT_EQ(rs->field("PrixUnit").kind(), ValueKind::Currency);
  EXPECT_EQ(rs->field("UnitesStock").kind(), ValueKind::Integer);
  EXPECT_EQ(rs->field("Nomprod").kind(), ValueKind::Text);
  rs = db->open_snapshot("SELECT DateCom FROM Commande");
  EXPECT_EQ(rs->field("DateCom").kind(), ValueKind::DateTime);
  EXPECT_EQ(rs->fields()[0].type, archive::FieldType::DateTime);
  rs = db->open_snapshot("SELECT Description FROM Categorie");
  EXPECT_EQ(rs->field("Description").kind(), ValueKind::Text);
  EXPECT_EQ(rs->fields()[0].type, archive::FieldType::Memo);
}

TEST_F(Where, ComparingTextWithANumberIsATypeMismatch) {
  try {
    db->open_snapshot("SELECT * FROM Client WHERE CodeCli = 1");
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3464);
  }
}

}  // namespace
}  // namespace tarvik::test
