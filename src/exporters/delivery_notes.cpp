// The delivery note headers: transport data, the destination printed on the note, and the
// invoice and accompanying invoice the note went into. No amounts, no payment condition.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kTestataBolleBlock = {
    "TestataBolle",
    "SELECT TestataBolle.* FROM TestataBolle INNER JOIN CliFor "
    "ON TestataBolle.idCliFor = CliFor.idCliFor",
    {
        {"idDocumento"},
        {"idCliFor"},
        {"idDestinazione"},
        {"Numero"},
        {"Anno"},
        {"Data"},
        {"Stampato"},
        {"Causale"},
        {"AspBeni"},
        {"Peso"},
        {"NColli"},
        {"DataPart"},
        {"OraPart"},
        {"ACura"},
        {"idFattura"},
        {"UltimaModifica"},
        {"Porto"},
        {"Note1"},
        {"Note2"},
        {"DescrizioneEstesa"},
        {"DestinazioneInBolla"},
        {"DDT_RagioneSociale1"},
        {"DDT_RagioneSociale2"},
        {"DDT_Indirizzo"},
        {"DDT_Indirizzo2"},
        {"DDT_CAP"},
        {"DDT_Citta"},
        {"DDT_Provincia"},
        {"LetteraDopoNumero"},
        {"FatturareDDT"},
        {"UMPeso"},
        {"PrezziUnitariIVACompresa"},
        {"idFattAcc"},
        {"StampaPrezzi"},
        {"idVettore1"},
    }};

void ExportTestataBolle(ExportContext& context) {
  ExportBlock(context, kTestataBolleBlock);
}

}  // namespace tarvik::exporters
