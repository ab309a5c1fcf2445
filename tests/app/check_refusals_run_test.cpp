// Sample archives with one defect each are refused by the check for it: its text in the error
// panel, the button disabled, the archive closed, and no transfer file created.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;
using archive::Value;

const std::string kOutOfDate =
    "Gli archivi di Tarvik non sono aggiornati. Prima di proseguire \xC3\xA8 necessario effettuare "
    "l'aggiornamento di Tarvik. Dopo sar\xC3\xA0 opportuno eseguire una manutenzione archivi.";

const std::string kDuplicateSuppliersHead =
    "Per alcuni articoli di magazzino \xC3\xA8 stato registrato pi\xC3\xB9 volte lo stesso fornitore.\r\n"
    "Prima di effettuare l'importazione \xC3\xA8 necessario utilizzare Tarvik per modificare gli articoli di "
    "magazzino in modo che per ciascun articolo ogni fornitore compaia una sola volta e non di pi\xC3\xB9.\r\n"
    "Ecco l'elenco dei codici da modificare: \r\n\r\n";

const std::string kMissingDestinationsHead =
    "Per alcune fatture accompagnatorie manca la destinazione.\r\n"
    "Prima di effettuare l'importazione \xC3\xA8 necessario utilizzare Tarvik per aggiungere la "
    "destinazione o eliminare la fattura accompagnatoria.\r\n"
    "Ecco l'elenco delle fatture accompagnatorie da modificare: \r\n\r\n";

std::string ascii(const std::u16string& text) { return {text.begin(), text.end()}; }

// The item codes the duplicate-supplier check must list, from a plain scan of the links: one line
// per pair of item and supplier met more than once, in the order of the pairs.
std::string duplicated_items(const std::filesystem::path& archive) {
  const auto file = archive::jet::JetFile::open(archive.string());
  std::map<std::pair<std::u16string, std::int32_t>, int> pairs;
  for (const auto& row : scan_rows(*file, "LinkMagazzinoFornitori", {"CodiceArticolo", "idCliFor"})) {
    if (row[0].is_null() || row[1].is_null()) continue;
    ++pairs[{row[0].as_text(), row[1].as_long()}];
  }
  std::string list;
  for (const auto& [pair, count] : pairs)
    if (count > 1) list += ascii(pair.first) + "\r\n";
  return list;
}

// A date as the listing shows it: dd/mm/yyyy, then the time only when it is not midnight.
std::string listed_date(double days) {
  const double whole = std::floor(days);
  const long seconds = std::lround((days - whole) * 86400.0);
  // Days since 1899-12-30 to a civil date (proleptic Gregorian calendar).
  long z = static_cast<long>(whole) - 25569 + 719468;  // 25569: 1970-01-01
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const long day = doy - (153 * mp + 2) / 5 + 1;
  const long month = mp < 10 ? mp + 3 : mp - 9;
  const long year = yoe + era * 400 + (month <= 2);
  char text[64];
  std::snprintf(text, sizeof text, "%02ld/%02ld/%04ld", day, month, year);
  std::string shown = text;
  if (seconds != 0) {
    std::snprintf(text, sizeof text, " %02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    shown += text;
  }
  return shown;
}

// The accompanying invoices the missing-destination check must list, from plain scans: those
// whose destination is null or no register record, in the order the table holds them.
std::string invoices_without_destination(const std::filesystem::path& archive) {
  const auto file = archive::jet::JetFile::open(archive.string());
  std::set<std::int32_t> register_ids;
  for (const auto& row : scan_rows(*file, "CliFor", {"idCliFor"})) register_ids.insert(row[0].as_long());
  std::string list;
  for (const auto& row : scan_rows(*file, "TestataFattAcc", {"idDestinazione", "Numero", "Data"})) {
    if (!row[0].is_null() && register_ids.count(row[0].as_long())) continue;
    list += "Fatt. acc. n. " + std::to_string(row[1].as_long()) + " del " + listed_date(row[2].as_datetime().days) + "\r\n";
  }
  return list;
}

class CheckRefusalsRun : public ExportRunTest {
 protected:
  void expect_refused_with(const std::string& text) {
    EXPECT_EQ(window_.error_text, text);
    EXPECT_TRUE(window_.error_panel_shown);
    EXPECT_FALSE(window_.button_enabled);
    EXPECT_FALSE(window_.busy);
    EXPECT_TRUE(window_.messages.empty());  // no message box, not even the department question
    EXPECT_TRUE(window_.captions.empty());
    EXPECT_FALSE(window_.unloaded);
    expect_no_transfer_file();
    expect_archive_released();
  }
};

TEST_F(CheckRefusalsRun, AnOutOfDateArchiveIsRefusedByTheSchemaCheck) {
  write_sample(archives_.path(), SampleVariant::Outdated);
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kOutOfDate);
}

TEST_F(CheckRefusalsRun, DuplicateSuppliersAreListedByItemCode) {
  write_sample(archives_.path(), SampleVariant::DuplicateSuppliers);
  const std::string list = duplicated_items(archive_path());
  // The variant plants one item with each of its two suppliers twice, another with one three times.
  ASSERT_EQ(std::count(list.begin(), list.end(), '\n'), 3) << list;

  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kDuplicateSuppliersHead + list);
}

TEST_F(CheckRefusalsRun, InvoicesWithoutAnExistingDestinationAreListedWithNumberAndDate) {
  write_sample(archives_.path(), SampleVariant::MissingDestination);
  const std::string list = invoices_without_destination(archive_path());
  // The variant plants invoice 15 without a destination and 16 with one that never existed.
  ASSERT_EQ(list.rfind("Fatt. acc. n. 15 del ", 0), 0u) << list;
  ASSERT_NE(list.find("\r\nFatt. acc. n. 16 del "), std::string::npos) << list;
  ASSERT_EQ(std::count(list.begin(), list.end(), '\n'), 2) << list;

  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kMissingDestinationsHead + list);
}

TEST_F(CheckRefusalsRun, ARefusalStillComesFirstWhenATableCountedForTheTotalIsDamaged) {
  // The tables are counted while the last check's queries are prepared, before it refuses: the
  // damage met there is left to the total, which a refused run never reaches.
  write_sample(archives_.path(), SampleVariant::MissingDestination);
  std::uint32_t page = 0;
  {
    const auto file = archive::jet::JetFile::open(archive_path().string());
    auto scan = file->scan(file->table("GiornaleMagazzino"));
    std::vector<Value> row;
    ASSERT_TRUE(scan.next(row));
    page = scan.row_pointer() >> 8;
  }
  {
    std::fstream bytes(archive_path(), std::ios::in | std::ios::out | std::ios::binary);
    bytes.seekp(static_cast<std::streamoff>(page) * 4096);
    bytes.put(0x04);  // no longer a data page
  }
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kMissingDestinationsHead + invoices_without_destination(archive_path()));
}

TEST_F(CheckRefusalsRun, TheSchemaCheckComesFirstAndTheOthersDoNotRun) {
  // An out-of-date archive that also lacks the supplier links and the accompanying invoices: the
  // other two checks would fail on it with an unexpected error, so none of them may run.
  SchemaArchive()
      .without_column("CliFor", "NoteInBolla")
      .without_table("LinkMagazzinoFornitori")
      .without_table("TestataFattAcc")
      .write(archives_.path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kOutOfDate);
}

TEST_F(CheckRefusalsRun, DuplicateSuppliersComeBeforeMissingDestinations) {
  SchemaArchive()
      .row("LinkMagazzinoFornitori", {{"CodiceArticolo", Value::text(u"VITE-M8")}, {"idCliFor", Value::long_(5)}})
      .row("LinkMagazzinoFornitori", {{"CodiceArticolo", Value::text(u"VITE-M8")}, {"idCliFor", Value::long_(5)}})
      .row("TestataFattAcc", {{"Numero", Value::long_(3)}, {"Data", Value::datetime({37748})}})
      .write(archives_.path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedByCheck);
  expect_refused_with(kDuplicateSuppliersHead + "VITE-M8\r\n");
}

}  // namespace
}  // namespace tarvik::test::run
