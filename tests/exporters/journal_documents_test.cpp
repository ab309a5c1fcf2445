// The PrimanotaDocumenti block: journal documents of existing customers and suppliers, the
// origin code and link rewritten when the creating invoice is missing, the payment condition
// mapped, the notes memo followed by the marker.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

Table customers() { return Table(CliFor()).row({{"idCliFor", L(1)}}).row({{"idCliFor", L(2)}}); }

Table invoices() {
  return Table(TestataFatture()).row({{"idDocumento", L(100)}, {"idCliFor", L(1)}}).row({{"idDocumento", L(101)}});
}

// Accompanying invoice 200 exists; 201 is left out of the invoice block by its own join (its
// customer is missing) but still exists.
Table accompanying_invoices() {
  return Table(TestataFattAcc()).row({{"idDocumento", L(200)}, {"idCliFor", L(2)}}).row({{"idDocumento", L(201)}, {"idCliFor", L(9)}});
}

// A journal document with only its id, link, origin code, customer and payment condition set.
Table& add_document(Table& table, std::int32_t id, archive::Value link, archive::Value code,
                    archive::Value customer = L(1), archive::Value cond_pag = null()) {
  return table.row({{"idPrimanota", L(id)}, {"idDocumento", link}, {"CreatoDa", code}, {"idCliFor", customer},
                    {"idCondPag", cond_pag}});
}

// Its 17 lines.
Lines document_lines(const std::string& id, const std::string& link, const std::string& code,
                     const std::string& customer = "1", const std::string& cond_pag = "") {
  return {id, link, code, "", "", "", "", "", "", "", customer, "", kMarker, "", cond_pag, "", "F"};
}

TEST(JournalDocuments, EveryFieldIsWrittenWithTheLinkBeforeTheCode) {
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(),
                         Table(PrimanotaDocumenti())
                             .row({{"idPrimanota", L(1)}, {"idDocumento", L(100)}, {"CreatoDa", T(u"F_")},
                                   {"idCausPrim", L(4)}, {"PagamentoIncasso", Y(1)},
                                   {"DataRegistrazione", Day(38001.75)}, {"DataDocumento", Day(37748)},
                                   {"NDocumento", T(u"123/A")}, {"ImportoTotale", C(1'220'000)},
                                   {"ImportoIVA", C(203'333)}, {"idCliFor", L(1)},
                                   {"Note", T(u"Prima riga\r\nSeconda riga")}, {"Tipo", I(1)}, {"idCondPag", L(3)},
                                   {"idTabIva", L(20)}, {"Saldato", B(true)}})});
  ExportHarness harness(archive.path());
  harness.codes = {3};
  ExportPrimanotaDocumenti(harness);

  const Lines expected = {"PrimanotaDocumenti", " 1 ",
                          "1", "100", "F_", "4", " 1 ", "2004-01-15", "2003-05-07", "123/A", "122", "20.3333", "1",
                          "Prima riga", "Seconda riga", kMarker, "1", "3", "20", "T"};
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 1);
}

TEST(JournalDocuments, ADocumentWhoseCreatingInvoiceIsMissingBecomesAManualEntry) {
  Table documents(PrimanotaDocumenti());
  add_document(documents, 1, L(100), T(u"F_"));   // invoice found
  add_document(documents, 2, L(999), T(u"F_"));   // invoice missing
  add_document(documents, 3, L(200), T(u"FA"));   // accompanying invoice found
  add_document(documents, 4, L(100), T(u"FA"));   // only an invoice has this id
  add_document(documents, 5, L(201), T(u"FA"));   // exists, though its own block leaves it out
  add_document(documents, 6, L(998), T(u"FA"));   // accompanying invoice missing
  add_document(documents, 7, null(), T(u"F_"));   // no link at all
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(), documents});
  ExportHarness harness(archive.path());
  ExportPrimanotaDocumenti(harness);

  Lines expected = {"PrimanotaDocumenti", " 7 "};
  append(expected, document_lines("1", "100", "F_"));
  append(expected, document_lines("2", "", "P_"));
  append(expected, document_lines("3", "200", "FA"));
  append(expected, document_lines("4", "", "P_"));
  append(expected, document_lines("5", "201", "FA"));
  append(expected, document_lines("6", "", "P_"));
  append(expected, document_lines("7", "", "P_"));
  EXPECT_EQ(harness.lines(), expected);
}

TEST(JournalDocuments, OtherOriginCodesAreWrittenAsStoredWithoutALookUp) {
  Table documents(PrimanotaDocumenti());
  add_document(documents, 1, L(999), T(u"f_"));
  add_document(documents, 2, L(999), T(u"F_ "));
  add_document(documents, 3, L(999), T(u"F_X"));
  add_document(documents, 4, L(999), T(u"Fa"));
  add_document(documents, 5, L(999), T(u"P_"));
  add_document(documents, 6, L(999), T(u""));
  add_document(documents, 7, L(999), null());  // no origin: an empty code, not a failure
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(), documents});
  ExportHarness harness(archive.path());
  ExportPrimanotaDocumenti(harness);

  Lines expected = {"PrimanotaDocumenti", " 7 "};
  append(expected, document_lines("1", "999", "f_"));
  append(expected, document_lines("2", "999", "F_ "));
  append(expected, document_lines("3", "999", "F_X"));
  append(expected, document_lines("4", "999", "Fa"));
  append(expected, document_lines("5", "999", "P_"));
  append(expected, document_lines("6", "999", ""));
  append(expected, document_lines("7", "999", ""));
  EXPECT_EQ(harness.lines(), expected);
}

TEST(JournalDocuments, DocumentsWithoutTheirCustomerAreLeftOutAndNotCounted) {
  Table documents(PrimanotaDocumenti());
  add_document(documents, 1, L(5), T(u"P_"), L(2));
  add_document(documents, 2, L(5), T(u"P_"), L(3));     // no such customer
  add_document(documents, 3, L(5), T(u"P_"), null());   // no customer at all
  add_document(documents, 4, L(5), T(u"P_"), L(1));
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(), documents});
  ExportHarness harness(archive.path());
  ExportPrimanotaDocumenti(harness);

  Lines expected = {"PrimanotaDocumenti", " 2 "};
  append(expected, document_lines("1", "5", "P_", "2"));
  append(expected, document_lines("4", "5", "P_", "1"));
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 2);
}

TEST(JournalDocuments, ThePaymentConditionIsWrittenOnlyWhenItWasExported) {
  Table documents(PrimanotaDocumenti());
  add_document(documents, 1, L(5), T(u"P_"), L(1), L(3));
  add_document(documents, 2, L(5), T(u"P_"), L(1), L(7));
  add_document(documents, 3, L(5), T(u"P_"), L(1), null());
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(), documents});
  ExportHarness harness(archive.path());
  harness.codes = {3};
  ExportPrimanotaDocumenti(harness);

  Lines expected = {"PrimanotaDocumenti", " 3 "};
  append(expected, document_lines("1", "5", "P_", "1", "3"));
  append(expected, document_lines("2", "5", "P_", "1", ""));
  append(expected, document_lines("3", "5", "P_", "1", ""));
  EXPECT_EQ(harness.lines(), expected);
}

TEST(JournalDocuments, NoDocumentsGiveTheNameAndAZeroCount) {
  ArchiveOfTest archive({customers(), invoices(), accompanying_invoices(), Table(PrimanotaDocumenti())});
  ExportHarness harness(archive.path());
  ExportPrimanotaDocumenti(harness);
  EXPECT_EQ(harness.lines(), (Lines{"PrimanotaDocumenti", " 0 "}));
}

}  // namespace
}  // namespace tarvik::test::master
