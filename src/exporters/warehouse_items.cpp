// The Magazzino block: every warehouse item, 21 value lines each, the notes written as stored and
// closed by the memo end marker.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

void ExportMagazzino(ExportContext& context) {
  static const TableBlock block = {
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
  ExportBlock(context, block);
}

}  // namespace tarvik::exporters
