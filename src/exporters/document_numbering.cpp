// The document numbering counters: year, document kind and the number reached, every row.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kProgrDocumentiBlock{"ProgrDocumenti",
                                      "SELECT * FROM ProgrDocumenti",
                                      {{"Anno"}, {"TipoDocumento"}, {"Progressivo"}}};

void ExportProgrDocumenti(ExportContext& context) { ExportBlock(context, kProgrDocumentiBlock); }

}  // namespace tarvik::exporters
