// The accompanying invoice headers: invoice amounts and the transport data of the goods that
// travel with them. The payment condition goes out only when the CondPag block carried it.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kTestataFattAccBlock = {
    "TestataFattAcc",
    "SELECT TestataFattAcc.* FROM TestataFattAcc INNER JOIN CliFor "
    "ON TestataFattAcc.idCliFor = CliFor.idCliFor",
    {
        {"idDocumento"},
        {"idCliFor"},
        {"idDestinazione"},
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
        {"Causale"},
        {"AspBeni"},
        {"Peso"},
        {"NColli"},
        {"DataPart"},
        {"OraPart"},
        {"ACura"},
        {"idVettore1"},
        {"Porto"},
        {"Note1"},
        {"Note2"},
        {"DescrizioneEstesa"},
        {"ScontoAbituale"},
        {"PrezziUnitariIVACompresa"},
        {"ABI"},
        {"CAB"},
    }};

void ExportTestataFattAcc(ExportContext& context) {
  ExportBlock(context, kTestataFattAccBlock);
}

}  // namespace tarvik::exporters
