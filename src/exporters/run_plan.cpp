#include "exporters/run_plan.h"

#include <cstddef>

#include "exporters/document_rows.h"
#include "exporters/exporters.h"
#include "exporters/header_and_rows.h"

namespace tarvik::exporters {

namespace {

// The stage of a document kind's rows (kHeaderAndRows[Kind]), which follows its header's.
template <std::size_t Kind>
void rows_of(ExportContext& context) {
  ExportDocumentRows(context, kHeaderAndRows[Kind].rows, kHeaderAndRows[Kind].header);
}

template <std::size_t Kind>
ExportStage rows_stage() {
  const HeaderAndRows& kind = kHeaderAndRows[Kind];
  return {kind.rows, rows_of<Kind>, DocumentRowsQuery(kind.rows, kind.header)};
}

}  // namespace

const std::vector<ExportStage>& run_plan() {
  static const std::vector<ExportStage> plan = {
      {"TabellaAspettoBeni", ExportTabellaAspettoBeni, std::string(kTabellaAspettoBeniBlock.query)},
      {"BancheAppoggio", ExportBancheAppoggio, std::string(kBancheAppoggioBlock.query)},
      {"TabellaCausaliTrasporto", ExportTabellaCausaliTrasporto, std::string(kTabellaCausaliTrasportoBlock.query)},
      {"CondPag", ExportCondPag, std::string(kCondPagBlock.query), ConditionCodes::Fills},
      {"TabellaIVA", ExportTabellaIVA, std::string(kTabellaIVABlock.query)},
      {"TabellaProduttori", ExportTabellaProduttori, std::string(kTabellaProduttoriBlock.query)},
      {"TabellaVettori", ExportTabellaVettori, std::string(kTabellaVettoriBlock.query)},
      {"CausPrim", ExportCausPrim, std::string(kCausPrimBlock.query)},
      {"TabellaContiCorrenti", ExportTabellaContiCorrenti, std::string(kTabellaContiCorrentiBlock.query)},
      {"CliFor", ExportCliFor, std::string(kCliForBlock.query), ConditionCodes::Reads},
      {"Agenti", ExportAgenti, std::string(kAgentiBlock.query)},
      {"LinkAgentiCliFor", ExportLinkAgentiCliFor, std::string(kLinkAgentiCliForBlock.query)},
      {"Magazzino", ExportMagazzino, std::string(kMagazzinoBlock.query)},
      {"BarcodeMagazzino", ExportBarcodeMagazzino, std::string(kBarcodeMagazzinoBlock.query)},
      {"GiornaleMagazzino", ExportGiornaleMagazzino, std::string(kGiornaleMagazzinoBlock.query)},
      {"LinkMagazzinoFornitori", ExportLinkMagazzinoFornitori, std::string(kLinkMagazzinoFornitoriBlock.query)},
      {"DistinteMagazzino", ExportDistinteMagazzino, std::string(kDistinteMagazzinoBlock.query)},
      {"StampaPersonalizzata", ExportStampaPersonalizzata, std::string(kStampaPersonalizzataBlock.query)},
      {"StampaPersonalizzata2", ExportStampaPersonalizzata2, std::string(kStampaPersonalizzata2Block.query)},
      {"TestataFattAcc", ExportTestataFattAcc, std::string(kTestataFattAccBlock.query), ConditionCodes::Reads},
      rows_stage<0>(),
      {"TestataFatture", ExportTestataFatture, std::string(kTestataFattureBlock.query), ConditionCodes::Reads},
      rows_stage<1>(),
      {"TestataBolle", ExportTestataBolle, std::string(kTestataBolleBlock.query)},
      rows_stage<2>(),
      {"TestataOrdCli", ExportTestataOrdCli, std::string(kTestataOrdCliBlock.query), ConditionCodes::Reads},
      rows_stage<3>(),
      {"TestataPreventivi", ExportTestataPreventivi, std::string(kTestataPreventiviBlock.query), ConditionCodes::Reads},
      rows_stage<4>(),
      {"TestataDocGen1", ExportTestataDocGen1, std::string(kTestataDocGen1Block.query), ConditionCodes::Reads},
      rows_stage<5>(),
      {"TestataOrdForn", ExportTestataOrdForn, std::string(kTestataOrdFornBlock.query), ConditionCodes::Reads},
      rows_stage<6>(),
      {"PrimanotaDocumenti", ExportPrimanotaDocumenti, kPrimanotaDocumentiQuery, ConditionCodes::Reads},
      {"PrimanotaMovimenti", ExportPrimanotaMovimenti, std::string(kPrimanotaMovimentiBlock.query)},
      {"ProgrDocumenti", ExportProgrDocumenti, std::string(kProgrDocumentiBlock.query)},
  };
  return plan;
}

}  // namespace tarvik::exporters
