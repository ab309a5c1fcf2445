// The journal documents of existing customers and suppliers. A document created by an invoice
// ("F_") or an accompanying invoice ("FA") that no longer exists is written as a manual entry
// ("P_") without its link, so that the importer never meets a link to a missing invoice.
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const char* const kPrimanotaDocumentiQuery =
    "SELECT PrimanotaDocumenti.* FROM PrimanotaDocumenti INNER JOIN CliFor ON "
    "PrimanotaDocumenti.idCliFor = CliFor.idCliFor";

namespace {

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

// Whether an invoice header table holds a row with a given primary key. The whole table is asked,
// not only the headers that the invoice blocks export. The table is opened on the first look-up
// and kept for the stage, so each document costs one seek.
class InvoiceHeaders {
 public:
  InvoiceHeaders(archive::Database& archive, std::string_view table) : archive_(archive), table_(table) {}
  ~InvoiceHeaders() { close(); }
  InvoiceHeaders(const InvoiceHeaders&) = delete;
  InvoiceHeaders& operator=(const InvoiceHeaders&) = delete;

  bool contains(const archive::Value& key) {
    if (!headers_) {
      headers_ = archive_.open_table(table_);
      headers_->set_index("PrimaryKey");
    }
    headers_->seek("=", {key});
    return !headers_->no_match();
  }
  void close() {
    if (headers_) headers_->close();
    headers_.reset();
  }

 private:
  archive::Database& archive_;
  std::string_view table_;
  std::unique_ptr<archive::Recordset> headers_;
};

struct InvoiceTables {
  InvoiceHeaders invoices;       // TestataFatture, for "F_"
  InvoiceHeaders accompanying;   // TestataFattAcc, for "FA"
};

// Only "F_" and "FA" exactly are looked up, and at most once: a code rewritten to "P_" is no
// longer either. A null CreatoDa is an empty code and is written as an empty line.
Origin read_origin(InvoiceTables& tables, archive::Recordset& documents) {
  Origin origin{documents.field("CreatoDa"), documents.field("idDocumento")};
  auto forget_missing = [&](InvoiceHeaders& headers) {
    if (headers.contains(origin.link)) return;
    origin.code = archive::Value::text(u"P_");
    origin.link = archive::Value();
  };
  if (is_code(origin.code, u"F_")) forget_missing(tables.invoices);
  if (is_code(origin.code, u"FA")) forget_missing(tables.accompanying);
  return origin;
}

}  // namespace

void ExportPrimanotaDocumenti(ExportContext& context) {
  transfer::TransferWriter& writer = context.writer();
  auto documents = context.archive().open_snapshot(kPrimanotaDocumentiQuery);
  StartBlock(context, "PrimanotaDocumenti", *documents);
  InvoiceTables tables{{context.archive(), "TestataFatture"}, {context.archive(), "TestataFattAcc"}};
  while (!documents->eof()) {
    const Origin origin = read_origin(tables, *documents);
    WriteField(context, *documents, {"idPrimanota"});
    context.field_being_written = "idDocumento";
    writer.WriteValue(origin.link, false);  // the link comes before the code
    context.field_being_written = "CreatoDa";
    writer.WriteValue(origin.code, false);
    for (const BlockField& field : kFieldsAfterOrigin) WriteField(context, *documents, field);
    documents->move_next();
    context.TickProgress();
  }
  tables.invoices.close();
  tables.accompanying.close();
  const std::int32_t written = documents->record_count();
  std::optional<archive::UnmatchedRows> unmatched = documents->take_unmatched_rows();
  documents->close();
  FinishBlock(context, "PrimanotaDocumenti", written, std::move(unmatched));
}

}  // namespace tarvik::exporters
