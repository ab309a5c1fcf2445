// The CliFor block: 41 value lines per record in the register's own order, the notes memo written
// as stored and followed by the marker, the payment condition only when it was exported.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

// A customer with every field set.
const Fields kRossi = {
    {"idCliFor", L(12)},
    {"ClienteOFornitore", T(u"C")},
    {"NomeAbituale", T(u"Rossi")},
    {"RagioneSociale1", T(u"Rossi Mario & C.")},
    {"RagioneSociale2", T(u"s.n.c.")},
    {"Indirizzo", T(u"Via Garibaldi 4")},
    {"Indirizzo2", T(u"Scala B")},
    {"CAP", T(u"20121")},
    {"Citta", T(u"Milano")},
    {"Provincia", T(u"MI")},
    {"PartitaIVA", T(u"01234567890")},
    {"CodiceFiscale", T(u"RSSMRA60A01F205X")},
    {"Telefono1", T(u"02 123456")},
    {"Telefono2", T(u"335 1234567")},
    {"Fax", T(u"02 654321")},
    {"FasciaDiPrezzo", Y(2)},
    {"Note", T(u"Consegna al mattino.\r\nChiamare prima.\r\nCancello verde")},
    {"Tipo", I(1)},
    {"idCondPag", L(3)},
    {"Vettore1", T(u"Trasporti Rossi")},
    {"Vettore2", T(u"Corriere")},
    {"BancaAppoggio", T(u"Banca Popolare")},
    {"Annullato", B(true)},
    {"E-Mail", T(u"mario@rossi.it")},
    {"BancaAppoggio2", T(u"Agenzia 5")},
    {"ABI", T(u"05034")},
    {"CAB", T(u"11701")},
    {"idTabIva", L(20)},
    {"SLRagioneSociale1", T(u"Magazzino Rossi")},
    {"SLRagioneSociale2", T(u"Deposito")},
    {"SLIndirizzo", T(u"Via Po 9")},
    {"SLIndirizzo2", T(u"Capannone 2")},
    {"SLCAP", T(u"20090")},
    {"SLCitta", T(u"Segrate")},
    {"SLProvincia", T(u"MI")},
    {"NoteInFattura", T(u"Pagamento a 30 giorni\r\nsalvo accordi")},
    {"ScontoAbituale", S(2.5f)},
    {"NoteInPreventivo", T(u"Validit\u00E0 30 giorni")},
    {"SpeseBanca", C(25000)},
    {"SpeseTrasporto", C(0)},
    {"idVettore1", L(3)},
    {"idAgente", L(40)},
    {"NoteInBolla", T(u"not in this block")},
};

const Lines kRossiLines = {
    "12", "C", "Rossi", "Rossi Mario & C.", "s.n.c.", "Via Garibaldi 4", "Scala B", "20121", "Milano", "MI",
    "01234567890", "RSSMRA60A01F205X", "02 123456", "335 1234567", "02 654321", " 2 ",
    "Consegna al mattino.", "Chiamare prima.", "Cancello verde", kMarker,
    "1", "3", "Trasporti Rossi", "Corriere", "Banca Popolare", "T", "mario@rossi.it", "Agenzia 5", "05034",
    "11701", "20", "Magazzino Rossi", "Deposito", "Via Po 9", "Capannone 2", "20090", "Segrate", "MI",
    "Pagamento a 30 giornisalvo accordi", "2.5", "Validit\xE0 30 giorni", "2.5", "0", "3",
};

// The lines of a record whose fields are all null but for its id, payment condition and notes.
Lines sparse_record(const std::string& id, const Lines& note, const std::string& cond_pag) {
  Lines lines = {id};
  lines.insert(lines.end(), 15, "");
  append(lines, note);
  lines.push_back(kMarker);
  lines.push_back("");  // Tipo
  lines.push_back(cond_pag);
  lines.insert(lines.end(), 3, "");
  lines.push_back("F");  // Annullato: Jet keeps a Yes/No field as true or false, never null
  lines.insert(lines.end(), 18, "");
  return lines;
}

TEST(CustomersSuppliers, EveryFieldIsWrittenInTheRegistersOrderWithTheNotesAsStored) {
  ArchiveOfTest archive({Table(CliFor()).row(kRossi)});
  ExportHarness harness(archive.path());
  harness.codes = {3};
  ExportCliFor(harness);

  Lines expected = {"CliFor", " 1 "};
  append(expected, kRossiLines);
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 1);
}

TEST(CustomersSuppliers, APaymentConditionThatWasNotExportedIsLeftEmpty) {
  ArchiveOfTest archive({Table(CliFor())
                             .row({{"idCliFor", L(1)}, {"idCondPag", L(3)}})
                             .row({{"idCliFor", L(2)}, {"idCondPag", L(4)}})
                             .row({{"idCliFor", L(3)}})
                             .row({{"idCliFor", L(4)}, {"idCondPag", L(40000)}})});
  ExportHarness harness(archive.path());
  harness.codes = {3, 40000};
  ExportCliFor(harness);

  Lines expected = {"CliFor", " 4 "};
  append(expected, sparse_record("1", {""}, "3"));
  append(expected, sparse_record("2", {""}, ""));
  append(expected, sparse_record("3", {""}, ""));
  append(expected, sparse_record("4", {""}, "40000"));
  EXPECT_EQ(harness.lines(), expected);
}

TEST(CustomersSuppliers, TheNotesMemoIsAlwaysFollowedByTheMarker) {
  ArchiveOfTest archive({Table(CliFor())
                             .row({{"idCliFor", L(1)}, {"Note", T(u"Ultima riga chiusa\r\n")}})
                             .row({{"idCliFor", L(2)}, {"Note", T(u"")}})
                             .row({{"idCliFor", L(3)}, {"Note", T(u"Tab\there, bell\a kept")}})});
  ExportHarness harness(archive.path());
  ExportCliFor(harness);

  Lines expected = {"CliFor", " 3 "};
  append(expected, sparse_record("1", {"Ultima riga chiusa", ""}, ""));
  append(expected, sparse_record("2", {""}, ""));
  append(expected, sparse_record("3", {"Tab\there, bell\a kept"}, ""));
  EXPECT_EQ(harness.lines(), expected);
}

TEST(CustomersSuppliers, AnEmptyRegisterGivesTheNameAndAZeroCount) {
  ArchiveOfTest archive({Table(CliFor())});
  ExportHarness harness(archive.path());
  ExportCliFor(harness);
  EXPECT_EQ(harness.lines(), (Lines{"CliFor", " 0 "}));
  EXPECT_EQ(harness.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test::master
