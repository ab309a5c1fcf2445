// The Magazzino block: every warehouse item, 21 value lines each, the notes written as stored and
// closed by the memo end marker.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kMagazzinoBlock = {
    "Magazzino",
    "SELECT * FROM Magazzino",
    {
        {"Famiglia"},
        {"codice"},
        {"Descrizione"},
        {"idTabIva"},
        {"UM"},
        {"Giacenza"},
        {"QImpegnata"},
        {"Ricar1"},
        {"Ricar2"},
        {"Ricar3"},
        {"Ricar4"},
        {"ScortaMinima"},
        {"QRiordino"},
        {"QConfezione"},
        {"Collocazione"},
        {"Note", Treatment::RawMemo},
        {"Note2Descr"},
        {"idProduttore"},
        {"PrezzoListino"},
        {"PrezzoNetto"},
        {"Provvigione"},
    }};

void ExportMagazzino(ExportContext& context) {
  ExportBlock(context, kMagazzinoBlock);
}

}  // namespace tarvik::exporters
