// The three archive checks and the error panel: the exact texts, the records listed, and what a
// refusal does to the window.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "checks/archive_checks.h"
#include "exporters/master_data_tables.h"
#include "support/recording_window.h"

namespace tarvik::test::master {
namespace {

using checks::CheckDuplicateSuppliers;
using checks::CheckMissingDestinations;
using checks::CheckSchema;

archive_gen::TableSpec register_table(bool with_note_in_bolla) {
  archive_gen::TableSpec spec{"CliFor", {long_column("idCliFor", true), text_column("NomeAbituale")}, {"idCliFor"}};
  if (with_note_in_bolla) spec.columns.push_back(memo("NoteInBolla"));
  return spec;
}

archive_gen::TableSpec supplier_links() {
  return {"LinkMagazzinoFornitori",
          {long_column("idMagazzinoFornitori", true), long_column("idCliFor"), text_column("CodiceArticolo", 20),
           single("Sc1"), boolean("Preferenziale")},
          {"idMagazzinoFornitori"}};
}

// The window as the run leaves it just before the checks: hourglass on, button enabled.
RecordingWindow busy_window() {
  RecordingWindow window;
  window.busy = true;
  return window;
}

void expect_untouched(const RecordingWindow& window) {
  EXPECT_EQ(window.error_text, "");
  EXPECT_FALSE(window.error_panel_shown);
  EXPECT_TRUE(window.button_enabled);
  EXPECT_TRUE(window.busy);
  EXPECT_TRUE(window.messages.empty());
}

void expect_refused_with(const RecordingWindow& window, const std::string& text) {
  EXPECT_EQ(window.error_text, text);
  EXPECT_TRUE(window.error_panel_shown);
  EXPECT_FALSE(window.button_enabled);
  EXPECT_FALSE(window.busy);
  EXPECT_TRUE(window.messages.empty());
}

const std::string kOutOfDate =
    "Gli archivi di Tarvik non sono aggiornati. Prima di proseguire \xC3\xA8 necessario effettuare "
    "l'aggiornamento di Tarvik. Dopo sar\xC3\xA0 opportuno eseguire una manutenzione archivi.";

TEST(SchemaCheck, AnArchiveWithNoteInBollaGoesOn) {
  ArchiveOfTest archive({Table(register_table(true)).row({{"idCliFor", L(1)}})});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_TRUE(CheckSchema(*db, window));
  expect_untouched(window);
}

TEST(SchemaCheck, AnArchiveWithoutNoteInBollaIsRefusedAndTheErrorGoesNoFurther) {
  ArchiveOfTest archive({Table(register_table(false)).row({{"idCliFor", L(1)}})});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_FALSE(CheckSchema(*db, window));
  expect_refused_with(window, kOutOfDate);
}

TEST(SchemaCheck, AnArchiveWithoutTheRegisterIsRefusedTheSameWay) {
  ArchiveOfTest archive({Table(supplier_links())});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_FALSE(CheckSchema(*db, window));
  expect_refused_with(window, kOutOfDate);
}

TEST(DuplicateSuppliersCheck, EachItemIsListedOncePerRepeatedSupplier) {
  Table links(supplier_links());
  auto link = [&](const char16_t* item, std::int32_t supplier) {
    links.row({{"CodiceArticolo", T(item)}, {"idCliFor", L(supplier)}});
  };
  link(u"VITE-M8", 5), link(u"VITE-M8", 5), link(u"VITE-M8", 5);  // three times: listed once
  link(u"BULLONE", 6), link(u"BULLONE", 5), link(u"BULLONE", 6), link(u"BULLONE", 5);  // listed twice
  link(u"DADO", 5), link(u"DADO", 6);  // two suppliers once each: no problem
  ArchiveOfTest archive({links});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();

  EXPECT_FALSE(CheckDuplicateSuppliers(*db, window));
  expect_refused_with(
      window,
      "Per alcuni articoli di magazzino \xC3\xA8 stato registrato pi\xC3\xB9 volte lo stesso fornitore.\r\n"
      "Prima di effettuare l'importazione \xC3\xA8 necessario utilizzare Tarvik per modificare gli articoli di "
      "magazzino in modo che per ciascun articolo ogni fornitore compaia una sola volta e non di pi\xC3\xB9.\r\n"
      "Ecco l'elenco dei codici da modificare: \r\n\r\n"
      "BULLONE\r\nBULLONE\r\nVITE-M8\r\n");
}

TEST(DuplicateSuppliersCheck, DifferentSuppliersOfOneItemGoOn) {
  ArchiveOfTest archive({Table(supplier_links())
                             .row({{"CodiceArticolo", T(u"DADO")}, {"idCliFor", L(5)}})
                             .row({{"CodiceArticolo", T(u"DADO")}, {"idCliFor", L(6)}})
                             .row({{"CodiceArticolo", T(u"VITE")}, {"idCliFor", L(5)}})});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_TRUE(CheckDuplicateSuppliers(*db, window));
  expect_untouched(window);
}

TEST(DuplicateSuppliersCheck, AMissingTableIsAnErrorForTheRunNotARefusal) {
  ArchiveOfTest archive({Table(register_table(true))});
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  try {
    CheckDuplicateSuppliers(*db, window);
    FAIL() << "a missing table must raise";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3078);
  }
  expect_untouched(window);
}

TEST(MissingDestinationsCheck, InvoicesWithoutAnExistingDestinationAreListedWithNumberAndDate) {
  ArchiveOfTest archive({
      Table(register_table(true)).row({{"idCliFor", L(1)}}).row({{"idCliFor", L(2)}}),
      Table(TestataFattAcc())
          .row({{"idDocumento", L(1)}, {"idCliFor", L(1)}, {"idDestinazione", L(2)}, {"Numero", L(14)},
                {"Data", Day(37748)}})
          .row({{"idDocumento", L(2)}, {"idCliFor", L(1)}, {"Numero", L(15)}, {"Data", Day(37748)}})  // none
          .row({{"idDocumento", L(3)}, {"idCliFor", L(1)}, {"idDestinazione", L(9)}, {"Numero", L(16)},
                {"Data", Day(38001.75)}})  // no such register record; at 18:00
          .row({{"idDocumento", L(4)}, {"idCliFor", L(2)}, {"idDestinazione", L(9)}, {"Numero", L(17)},
                {"Data", Day(38001 + 86399.6 / 86400)}})  // 23:59:59.6 rounds to the next midnight
          .row({{"idDocumento", L(5)}, {"idCliFor", L(2)}})  // no number, no date
          .row({{"idDocumento", L(6)}, {"idCliFor", L(2)}, {"idDestinazione", L(1)}, {"Numero", L(18)},
                {"Data", Day(38717.0 + 30.0 / 86400)}}),
  });
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();

  EXPECT_FALSE(CheckMissingDestinations(*db, window));
  expect_refused_with(window,
                      "Per alcune fatture accompagnatorie manca la destinazione.\r\n"
                      "Prima di effettuare l'importazione \xC3\xA8 necessario utilizzare Tarvik per aggiungere la "
                      "destinazione o eliminare la fattura accompagnatoria.\r\n"
                      "Ecco l'elenco delle fatture accompagnatorie da modificare: \r\n\r\n"
                      "Fatt. acc. n. 15 del 07/05/2003\r\n"
                      "Fatt. acc. n. 16 del 15/01/2004 18:00:00\r\n"
                      "Fatt. acc. n. 17 del 16/01/2004\r\n"
                      "Fatt. acc. n.  del \r\n");
}

TEST(MissingDestinationsCheck, InvoicesWhoseDestinationsExistGoOn) {
  ArchiveOfTest archive({
      Table(register_table(true)).row({{"idCliFor", L(1)}}).row({{"idCliFor", L(2)}}),
      Table(TestataFattAcc())
          .row({{"idDocumento", L(1)}, {"idCliFor", L(1)}, {"idDestinazione", L(2)}, {"Numero", L(14)},
                {"Data", Day(38717.0 + 30.0 / 86400)}})
          .row({{"idDocumento", L(2)}, {"idCliFor", L(2)}, {"idDestinazione", L(2)}, {"Numero", L(15)}}),
  });
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_TRUE(CheckMissingDestinations(*db, window));
  expect_untouched(window);
}

TEST(MissingDestinationsCheck, ATimeOfDayIsShownToTheSecond) {
  ArchiveOfTest archive({
      Table(register_table(true)),
      Table(TestataFattAcc())
          .row({{"idDocumento", L(1)}, {"Numero", L(1)}, {"Data", Day(38717.0 + 30.0 / 86400)}})
          .row({{"idDocumento", L(2)}, {"Numero", L(2)}, {"Data", Day(36169.0 + (9 * 3600 + 5 * 60 + 7) / 86400.0)}}),
  });
  auto db = archive::Database::open(archive.path().string());
  RecordingWindow window = busy_window();
  EXPECT_FALSE(CheckMissingDestinations(*db, window));
  const std::string& text = window.error_text;
  EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4),
            "Fatt. acc. n. 1 del 31/12/2005 00:00:30\r\nFatt. acc. n. 2 del 09/01/1999 09:05:07\r\n");
}

}  // namespace
}  // namespace tarvik::test::master
