// The blocks that hang on the warehouse items: barcodes, the stock journal, the supplier links and
// the bills of materials. The joins keep only movements and links whose item (and supplier) exist.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

// No archive table of this name: the barcodes are taken from the items that have one.
const TableBlock kBarcodeMagazzinoBlock = {
    "BarcodeMagazzino",
    "SELECT Codice, Barcode FROM Magazzino WHERE LEN(Barcode) > 0",
    {
        {"codice"},
        {"Barcode"},
    }};

void ExportBarcodeMagazzino(ExportContext& context) {
  ExportBlock(context, kBarcodeMagazzinoBlock);
}

const TableBlock kGiornaleMagazzinoBlock = {
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

void ExportGiornaleMagazzino(ExportContext& context) {
  ExportBlock(context, kGiornaleMagazzinoBlock);
}

const TableBlock kLinkMagazzinoFornitoriBlock = {
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

void ExportLinkMagazzinoFornitori(ExportContext& context) {
  ExportBlock(context, kLinkMagazzinoFornitoriBlock);
}

// Parent and component codes are written as stored, whether or not they name an item.
const TableBlock kDistinteMagazzinoBlock = {
    "DistinteMagazzino",
    "SELECT * FROM DistinteMagazzino",
    {
        {"idDistinte"},
        {"Sequenza"},
        {"CodPadre"},
        {"CodFiglio"},
        {"Quantita"},
    }};

void ExportDistinteMagazzino(ExportContext& context) {
  ExportBlock(context, kDistinteMagazzinoBlock);
}

}  // namespace tarvik::exporters
