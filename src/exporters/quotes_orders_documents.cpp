// The headers of customer orders, quotes, general documents and supplier orders: one block per
// kind, each the kind's table joined to CliFor, so only documents of an existing customer or
// supplier go out. The four share their first 14 lines; the rest is each kind's own.
#include <initializer_list>
#include <vector>

#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

namespace {

// Lines 1 to 14 of every kind, followed by the kind's own lines.
std::vector<BlockField> common_head_then(std::initializer_list<BlockField> own_lines) {
  std::vector<BlockField> fields = {
      {"idDocumento"},
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
      {"ImportoIVA"},
      {"Stampato"},
      {"UltimaModifica"},
  };
  fields.insert(fields.end(), own_lines);
  return fields;
}

}  // namespace

const TableBlock kTestataOrdCliBlock = {
    "TestataOrdCli",
    "SELECT TestataOrdCli.* FROM TestataOrdCli INNER JOIN CliFor "
    "ON TestataOrdCli.idCliFor = CliFor.idCliFor",
    common_head_then({
        {"idFattura"},
        {"ConsegnaPrevista"},
        {"ValiditaOfferta"},
        {"Note1"},
        {"Note2"},
        {"Note3"},
        {"StampaNote"},
        {"DescrizioneEstesa"},
        {"idBolla"},
        {"PrezziUnitariIVACompresa"},
        {"Evaso"},
        {"DataEvasione"},
        {"IgnoraBolleFatture"},
        {"Impegnato"},
    })};

void ExportTestataOrdCli(ExportContext& context) {
  ExportBlock(context, kTestataOrdCliBlock);
}

const TableBlock kTestataPreventiviBlock = {
    "TestataPreventivi",
    "SELECT TestataPreventivi.* FROM TestataPreventivi INNER JOIN CliFor "
    "ON TestataPreventivi.idCliFor = CliFor.idCliFor",
    common_head_then({
        {"idFattura"},
        {"ConsegnaPrevista"},
        {"ValiditaOfferta"},
        {"Note1"},
        {"Note2"},
        {"Note3"},
        {"StampaNote"},
        {"DescrizioneEstesa"},
        {"idBolla"},
        {"PrezziUnitariIVACompresa"},
        {"idOrdCli"},
    })};

void ExportTestataPreventivi(ExportContext& context) {
  ExportBlock(context, kTestataPreventiviBlock);
}

const TableBlock kTestataDocGen1Block = {
    "TestataDocGen1",
    "SELECT TestataDocGen1.* FROM TestataDocGen1 INNER JOIN CliFor "
    "ON TestataDocGen1.idCliFor = CliFor.idCliFor",
    common_head_then({
        {"idFattura"},
        {"ConsegnaPrevista"},
        {"ValiditaOfferta"},
        {"Note1"},
        {"Note2"},
        {"Note3"},
        {"StampaNote"},
        {"DescrizioneEstesa"},
        {"idBolla"},
        {"PrezziUnitariIVACompresa"},
        {"Scaricato"},
    })};

void ExportTestataDocGen1(ExportContext& context) {
  ExportBlock(context, kTestataDocGen1Block);
}

// No invoice, delivery or offer references here, and Caricato comes before the VAT flag.
const TableBlock kTestataOrdFornBlock = {
    "TestataOrdForn",
    "SELECT TestataOrdForn.* FROM TestataOrdForn INNER JOIN CliFor "
    "ON TestataOrdForn.idCliFor = CliFor.idCliFor",
    common_head_then({
        {"Note1"},
        {"Note2"},
        {"Note3"},
        {"StampaNote"},
        {"DescrizioneEstesa"},
        {"Caricato"},
        {"PrezziUnitariIVACompresa"},
    })};

void ExportTestataOrdForn(ExportContext& context) {
  ExportBlock(context, kTestataOrdFornBlock);
}

}  // namespace tarvik::exporters
