// The invoice headers, the document type second; the payment condition goes out only when the
// CondPag block carried it.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kTestataFattureBlock = {
    "TestataFatture",
    "SELECT TestataFatture.* FROM TestataFatture INNER JOIN CliFor "
    "ON TestataFatture.idCliFor = CliFor.idCliFor",
    {
        {"idDocumento"},
        {"TipoDocumento"},
        {"idCliFor"},
        {"Numero"},
        {"Anno"},
        {"Data"},
        {"Sconto"},
        {"ImportoVoci"},
        {"ImportoTotale"},
        {"idCondPag", Treatment::MappedCondPag},
        {"BancaAppoggio"},
        {"BancaAppoggio2"},
        {"SpeseTrasporto"},
        {"SpeseBanca"},
        {"SpeseBolli"},
        {"ImportoIVA"},
        {"PercRitAcconto"},
        {"ImportoRitAcc"},
        {"Stampato"},
        {"UltimaModifica"},
        {"DescrizioneEstesa"},
        {"ABI"},
        {"CAB"},
        {"LetteraDopoNumero"},
        {"ScontoAbituale"},
        {"PrezziUnitariIVACompresa"},
        {"idAgente"},
        {"UsaRitenutaAcconto"},
        {"GestirePrezziTotali"},
    }};

void ExportTestataFatture(ExportContext& context) {
  ExportBlock(context, kTestataFattureBlock);
}

}  // namespace tarvik::exporters
