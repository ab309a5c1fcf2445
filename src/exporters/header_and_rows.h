// The blocks written in pairs: a header block, then at once the block of its rows, which join to
// their header by its key. The run plan writes them so and the report follows the same joins.
#pragma once

#include <string_view>

namespace tarvik::exporters {

struct HeaderAndRows {
  std::string_view header;
  std::string_view rows;
  std::string_view header_key;  // the header's id, which its rows name
  std::string_view row_key;     // a row's own id
};

// The document kinds first, in the plan's order (their rows are ExportDocumentRows'), then the
// journal's documents and movements.
inline constexpr HeaderAndRows kHeaderAndRows[] = {
    {"TestataFattAcc", "RigheFattAcc", "idDocumento", "idRigaDocumento"},
    {"TestataFatture", "RigheFatture", "idDocumento", "idRigaDocumento"},
    {"TestataBolle", "RigheBolle", "idDocumento", "idRigaDocumento"},
    {"TestataOrdCli", "RigheOrdCli", "idDocumento", "idRigaDocumento"},
    {"TestataPreventivi", "RighePreventivi", "idDocumento", "idRigaDocumento"},
    {"TestataDocGen1", "RigheDocGen1", "idDocumento", "idRigaDocumento"},
    {"TestataOrdForn", "RigheOrdForn", "idDocumento", "idRigaDocumento"},
    {"PrimanotaDocumenti", "PrimanotaMovimenti", "idPrimanota", "idMovimento"},
};

}  // namespace tarvik::exporters
