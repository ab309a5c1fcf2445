// The rows of any document kind. The query joins the rows to their header and the header to
// CliFor, so a row goes out exactly when its header does.
#include "exporters/document_rows.h"
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

std::string DocumentRowsQuery(std::string_view rows_table, std::string_view header_table) {
  std::string sql = "SELECT ";
  sql.append(rows_table).append(".* FROM (").append(rows_table);
  sql.append(" INNER JOIN ").append(header_table);
  sql.append(" ON ").append(rows_table).append(".idDocumento = ").append(header_table);
  sql.append(".idDocumento) INNER JOIN CliFor ON ").append(header_table);
  sql.append(".idCliFor = CliFor.idCliFor");
  return sql;
}

void ExportDocumentRows(ExportContext& context, std::string_view rows_table, std::string_view header_table) {
  const std::string query = DocumentRowsQuery(rows_table, header_table);
  const TableBlock block = {
      rows_table,
      query,
      {
          {"idRigaDocumento"},
          {"idDocumento"},
          {"NumeroRiga"},
          {"codice"},
          {"Descrizione"},
          {"Quantita"},
          {"Sconto"},
          {"UM"},
          {"idTabIva"},
          {"Prezzo"},
          {"ScontoTxt"},
      }};
  ExportBlock(context, block);
}

}  // namespace tarvik::exporters
