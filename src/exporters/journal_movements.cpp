// The journal movements of the journal documents that are exported: a movement whose document,
// or whose document's customer or supplier, is missing is left out.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kPrimanotaMovimentiBlock{
    "PrimanotaMovimenti",
    "SELECT PrimanotaMovimenti.* FROM (PrimanotaMovimenti INNER JOIN PrimanotaDocumenti ON "
    "PrimanotaMovimenti.idPrimanota = PrimanotaDocumenti.idPrimanota) INNER JOIN CliFor ON "
    "PrimanotaDocumenti.idCliFor = CliFor.idCliFor",
    {{"idMovimento"},
          {"idPrimanota"},
          {"DataScadenza"},
          {"Importo"},
          {"DataMovimento"},
          {"idContoCorrente"},
          {"NumAssegno"},
          {"StampatoRIBA"}}};

void ExportPrimanotaMovimenti(ExportContext& context) { ExportBlock(context, kPrimanotaMovimentiBlock); }

}  // namespace tarvik::exporters
