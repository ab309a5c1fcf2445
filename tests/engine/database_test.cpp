// Opening an archive: exclusive through its lock, read-only, and the errors of a missing file,
// a file that is no archive, and names the archive lacks.
#include <gtest/gtest.h>

#include <fstream>

#include "archive/archive_error.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::Database;

template <typename F>
ArchiveError error_of(F&& f) {
  try {
    f();
  } catch (const ArchiveError& e) {
    return e;
  }
  return ArchiveError(0, "no error");
}

TEST(Database, ASecondOpenWhileTheFirstHoldsTheArchiveIsRefused) {
  ArchiveCopy archive{kComptoir};
  auto first = Database::open(archive.path());
  EXPECT_EQ(error_of([&] { Database::open(archive.path()); }).number(), 3045);
  first->close();
  EXPECT_NO_THROW(Database::open(archive.path()));
}

TEST(Database, TheLockGoesWithTheDatabase) {
  ArchiveCopy archive{kComptoir};
  { auto db = Database::open(archive.path()); }
  EXPECT_NO_THROW(Database::open(archive.path()));
}

TEST(Database, NothingIsWrittenToTheArchive) {
  ArchiveCopy archive{kComptoir};
  const auto before = std::filesystem::last_write_time(archive.path());
  const auto bytes = std::filesystem::file_size(archive.path());
  {
    auto db = Database::open(archive.path());
    query(*db, "SELECT * FROM Commande ORDER BY CodeCli");
    auto rs = db->open_table("Client");
    rs->set_index("PrimaryKey");
    rs->seek("=", {text("ALFKI")});
  }
  EXPECT_EQ(std::filesystem::last_write_time(archive.path()), before);
  EXPECT_EQ(std::filesystem::file_size(archive.path()), bytes);
}

TEST(Database, MissingFileAndNonArchive) {
  EXPECT_EQ(error_of([] { Database::open("/nonexistent/Tarvik.mdb"); }).number(), 3024);
  const auto not_archive = std::filesystem::temp_directory_path() / ("tarvik-not-archive-" + std::to_string(::getpid()));
  {
    std::ofstream out(not_archive);
    out << std::string(8192, 'x');
  }
  EXPECT_EQ(error_of([&] { Database::open(not_archive.string()); }).number(), 3343);
  // The failed open released its lock.
  EXPECT_EQ(error_of([&] { Database::open(not_archive.string()); }).number(), 3343);
  std::filesystem::remove(not_archive);
}

TEST(Database, NamesTheArchiveLacks) {
  ArchiveCopy archive{kComptoir};
  auto db = Database::open(archive.path());
  ArchiveError e = error_of([&] { db->open_snapshot("SELECT * FROM Inesistente"); });
  EXPECT_EQ(e.number(), 3078);
  EXPECT_EQ(e.description(), "Impossibile trovare la tabella o la query di input 'Inesistente'.");
  EXPECT_EQ(error_of([&] { db->open_table("Inesistente"); }).number(), 3078);
  e = error_of([&] { db->open_snapshot("SELECT NoteInBolla FROM Client WHERE CodeCli = 'x'"); });
  EXPECT_EQ(e.number(), 3061);
  EXPECT_EQ(e.description(), "Parametri insufficienti. Previsto 1.");
  EXPECT_EQ(error_of([&] { db->open_snapshot("SELECT * FROM Client WHERE Client.Manca = 1 OR Altro = 2"); })
                .description(),
            "Parametri insufficienti. Previsto 2.");
  EXPECT_EQ(error_of([&] { db->open_snapshot("SELECT TOP 1 * FROM Client"); }).number(), 3251);

  // A statement checked without opening meets the same errors of names and types.
  EXPECT_EQ(error_of([&] { db->check_statement("SELECT * FROM Inesistente"); }).number(), 3078);
  EXPECT_EQ(error_of([&] { db->check_statement("SELECT NoteInBolla FROM Client WHERE CodeCli = 'x'"); }).number(),
            3061);
  EXPECT_EQ(error_of([&] { db->check_statement("SELECT CodeCli FROM Client WHERE CodeCli = 1"); }).number(), 3464);
  db->check_statement("SELECT CodeCli FROM Client WHERE CodeCli = 'x'");
  db->close();
  EXPECT_EQ(error_of([&] { db->check_statement("SELECT CodeCli FROM Client"); }).number(), 3420);
}

TEST(Database, ClosingTheArchiveLeavesItsSetsUnusable) {
  ArchiveCopy archive{kComptoir};
  auto db = Database::open(archive.path());
  auto rs = db->open_snapshot("SELECT * FROM Client");
  db->close();
  EXPECT_EQ(error_of([&] { rs->move_next(); }).number(), 3420);
  EXPECT_EQ(error_of([&] { db->open_snapshot("SELECT * FROM Client"); }).number(), 3420);
}

}  // namespace
}  // namespace tarvik::test
