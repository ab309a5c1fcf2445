// A join reads its leftmost table's rows a few ahead of the row it gives. Damage met ahead must
// still surface at its own row: every joined row before it comes first, as a plain walk gives them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "archive/archive_error.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

constexpr std::size_t kPageSize = 4096;

// The page numbers of a table's rows, in the order a scan reads them.
std::vector<std::uint32_t> row_pages(const std::string& path, const std::string& table) {
  const auto file = archive::jet::JetFile::open(path);
  auto scan = file->scan(file->table(table));
  std::vector<std::uint32_t> pages;
  std::vector<Value> row;
  while (scan.next(row)) pages.push_back(scan.row_pointer() >> 8);
  return pages;
}

void overwrite_byte(const std::string& path, std::uint64_t at, char byte) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(at));
  file.put(byte);
}

// Reads rows forward, without counting first, until the end or an archive error.
Rows read_until_error(archive::Recordset& rs, int& error) {
  Rows rows;
  error = 0;
  try {
    for (; !rs.eof(); rs.move_next()) {
      std::vector<Value> row;
      for (std::size_t i = 0; i < rs.fields().size(); ++i) row.push_back(rs.field(i));
      rows.push_back(std::move(row));
    }
  } catch (const archive::ArchiveError& e) {
    error = e.number();
  }
  return rows;
}

TEST(JoinReadAhead, DamageAheadSurfacesAtItsOwnRow) {
  ArchiveCopy archive{kComptoir};
  const Rows details = scan_table(archive.path(), "DetailCommande");
  const Rows products = scan_table(archive.path(), "Produit");
  const std::size_t product_ref = column_of(archive.path(), "Produit", "Refprod");
  const std::vector<std::uint32_t> pages = row_pages(archive.path(), "DetailCommande");
  ASSERT_EQ(pages.size(), details.size());

  // The page of a row in the middle becomes a page of another kind: reading it is damage.
  const std::uint32_t damaged = pages[pages.size() / 2];
  std::size_t first_lost = 0;
  while (pages[first_lost] != damaged) ++first_lost;
  ASSERT_GT(first_lost, 8u);  // more rows before it than are read ahead
  std::multimap<long long, std::size_t> product_at;
  for (std::size_t p = 0; p < products.size(); ++p) product_at.emplace(whole(products[p][product_ref]), p);
  Rows expected;
  for (std::size_t d = 0; d < first_lost; ++d) {
    const auto [from, to] = product_at.equal_range(whole(details[d][1]));
    for (auto it = from; it != to; ++it) expected.push_back({details[d][0], products[it->second][product_ref]});
  }
  overwrite_byte(archive.path(), std::uint64_t(damaged) * kPageSize, 0x04);

  auto db = archive::Database::open(archive.path());
  auto rs = db->open_snapshot(
      "SELECT DetailCommande.NoCom, Produit.RefProd FROM DetailCommande INNER JOIN Produit "
      "ON DetailCommande.RefProd = Produit.RefProd");
  int error = 0;
  const Rows got = read_until_error(*rs, error);
  EXPECT_EQ(error, 3049);
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_EQ(got, expected);
  rs->close();

  // Counted first, as the exporters count, the same damage fails the count.
  auto counted = db->open_snapshot(
      "SELECT DetailCommande.NoCom FROM DetailCommande INNER JOIN Produit ON DetailCommande.RefProd = Produit.RefProd");
  EXPECT_THROW(counted->move_last(), archive::ArchiveError);
}

}  // namespace
}  // namespace tarvik::test
