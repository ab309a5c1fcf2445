// The document numbering counters: year, document kind and the number reached, every row.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

namespace {

const TableBlock kProgrDocumenti{"ProgrDocumenti",
                                 "SELECT * FROM ProgrDocumenti",
                                 {{"Anno"}, {"TipoDocumento"}, {"Progressivo"}}};

}  // namespace

void ExportProgrDocumenti(ExportContext& context) { ExportBlock(context, kProgrDocumenti); }

}  // namespace tarvik::exporters
