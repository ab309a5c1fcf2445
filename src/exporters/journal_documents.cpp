// The journal documents of existing customers and suppliers. A document created by an invoice
// ("F_") or an accompanying invoice ("FA") that no longer exists is written as a manual entry
// ("P_") without its link, so that the importer never meets a link to a missing invoice.
#include <vector>

#include "exporters/exporters.h"
#include "exporters/table_block.h"
#include "transfer/ensure_count.h"

namespace tarvik::exporters {

namespace {

constexpr const char* kJournalDocuments =
    "SELECT PrimanotaDocumenti.* FROM PrimanotaDocumenti INNER JOIN CliFor ON "
    "PrimanotaDocumenti.idCliFor = CliFor.idCliFor";

// The fields after the document link and the origin code, in the order of their lines.
const std::vector<BlockField> kFieldsAfterOrigin = {
    {"idCausPrim"},
    {"PagamentoIncasso"},
    {"DataRegistrazione"},
    {"DataDocumento"},
    {"NDocumento"},
    {"ImportoTotale"},
    {"ImportoIVA"},
    {"idCliFor"},
    {"Note", Treatment::RawMemo},
    {"Tipo"},
    {"idCondPag", Treatment::MappedCondPag},
    {"idTabIva"},
    {"Saldato"},
};

// Who created the document, and the document that did.
struct Origin {
  archive::Value code;  // CreatoDa: "F_", "FA", "P_", ...
  archive::Value link;  // idDocumento
};

bool is_code(const archive::Value& code, std::u16string_view text) {
  return code.kind() == archive::ValueKind::Text && code.as_text() == text;
}

// Whether the invoice header table holds a row with this primary key. The whole table is asked,
// not only the headers that the invoice blocks export.
bool invoice_exists(archive::Database& archive, std::string_view header_table, const archive::Value& link) {
  auto headers = archive.open_table(header_table);
  headers->set_index("PrimaryKey");
  headers->seek("=", {link});
  const bool found = !headers->no_match();
  headers->close();
  return found;
}

// Only "F_" and "FA" exactly are looked up, and at most once: a code rewritten to "P_" is no
// longer either. A null CreatoDa is an empty code and is written as an empty line.
Origin read_origin(archive::Database& archive, archive::Recordset& documents) {
  Origin origin{documents.field("CreatoDa"), documents.field("idDocumento")};
  auto forget_missing = [&](std::string_view header_table) {
    if (invoice_exists(archive, header_table, origin.link)) return;
    origin.code = archive::Value::text(u"P_");
    origin.link = archive::Value();
  };
  if (is_code(origin.code, u"F_")) forget_missing("TestataFatture");
  if (is_code(origin.code, u"FA")) forget_missing("TestataFattAcc");
  return origin;
}

}  // namespace

void ExportPrimanotaDocumenti(ExportContext& context) {
  transfer::TransferWriter& writer = context.writer();
  auto documents = context.archive().open_snapshot(kJournalDocuments);
  transfer::EnsureCount(*documents);
  context.BlockStarted("PrimanotaDocumenti", *documents);
  writer.WriteTextLine("PrimanotaDocumenti");
  writer.WriteNumberLine(documents->record_count());
  while (!documents->eof()) {
    const Origin origin = read_origin(context.archive(), *documents);
    WriteField(context, *documents, {"idPrimanota"});
    context.field_being_written = "idDocumento";
    writer.WriteValue(origin.link, false);  // the link comes before the code
    context.field_being_written = "CreatoDa";
    writer.WriteValue(origin.code, false);
    for (const BlockField& field : kFieldsAfterOrigin) WriteField(context, *documents, field);
    documents->move_next();
    context.TickProgress();
  }
  const std::int32_t written = documents->record_count();
  documents->close();
  context.BlockFinished("PrimanotaDocumenti", written);
}

}  // namespace tarvik::exporters
