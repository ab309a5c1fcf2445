// The blocks that hang on the warehouse items: barcodes, the stock journal, the supplier links and
// the bills of materials. The joins keep only movements and links whose item (and supplier) exist.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

void ExportBarcodeMagazzino(ExportContext& context) {
  // No archive table of this name: the barcodes are taken from the items that have one.
  static const TableBlock block = {
      "BarcodeMagazzino",
      "SELECT Codice, Barcode FROM Magazzino WHERE LEN(Barcode) > 0",
      {
          {"codice"},
          {"Barcode"},
      }};
  ExportBlock(context, block);
}

void ExportGiornaleMagazzino(ExportContext& context) {
  static const TableBlock block = {
      "GiornaleMagazzino",
      "SELECT GiornaleMagazzino.* FROM GiornaleMagazzino INNER JOIN Magazzino "
      "ON GiornaleMagazzino.Codice = Magazzino.Codice",
      {
          {"idGiornaleMagazzino"},
          {"codice"},
          {"Quantita"},
          {"DataMovimento"},
          {"DataRegistrazione"},
          {"idCausale"},
          {"NDocumento"},
          {"DataDocumento"},
          {"idCliFor"},
          {"PrezzoNetto"},
      }};
  ExportBlock(context, block);
}

void ExportLinkMagazzinoFornitori(ExportContext& context) {
  static const TableBlock block = {
      "LinkMagazzinoFornitori",
      "SELECT LinkMagazzinoFornitori.* FROM (LinkMagazzinoFornitori INNER JOIN Magazzino "
      "ON LinkMagazzinoFornitori.CodiceArticolo = Magazzino.Codice) INNER JOIN CliFor "
      "ON LinkMagazzinoFornitori.idCliFor = CliFor.idCliFor",
      {
          {"idMagazzinoFornitori"},
          {"idCliFor"},
          {"CodiceArticolo"},
          {"Sc1"},
          {"Sc2"},
          {"Sc3"},
          {"CodPForn"},
          {"Preferenziale"},
          {"UltimoCarico"},
          {"PrezzoNetto"},
      }};
  ExportBlock(context, block);
}

void ExportDistinteMagazzino(ExportContext& context) {
  // Parent and component codes are written as stored, whether or not they name an item.
  static const TableBlock block = {
      "DistinteMagazzino",
      "SELECT * FROM DistinteMagazzino",
      {
          {"idDistinte"},
          {"Sequenza"},
          {"CodPadre"},
          {"CodFiglio"},
          {"Quantita"},
      }};
  ExportBlock(context, block);
}

}  // namespace tarvik::exporters
