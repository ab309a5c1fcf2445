#include "exporters/run_plan.h"

#include "exporters/document_rows.h"
#include "exporters/exporters.h"

namespace tarvik::exporters {

namespace {

// Each document header block is followed at once by the rows of the same kind.
template <const char* Rows, const char* Header>
void rows_of(ExportContext& context) {
  ExportDocumentRows(context, Rows, Header);
}

constexpr char kRigheFattAcc[] = "RigheFattAcc", kTestataFattAcc[] = "TestataFattAcc";
constexpr char kRigheFatture[] = "RigheFatture", kTestataFatture[] = "TestataFatture";
constexpr char kRigheBolle[] = "RigheBolle", kTestataBolle[] = "TestataBolle";
constexpr char kRigheOrdCli[] = "RigheOrdCli", kTestataOrdCli[] = "TestataOrdCli";
constexpr char kRighePreventivi[] = "RighePreventivi", kTestataPreventivi[] = "TestataPreventivi";
constexpr char kRigheDocGen1[] = "RigheDocGen1", kTestataDocGen1[] = "TestataDocGen1";
constexpr char kRigheOrdForn[] = "RigheOrdForn", kTestataOrdForn[] = "TestataOrdForn";

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
      {"RigheFattAcc", rows_of<kRigheFattAcc, kTestataFattAcc>, DocumentRowsQuery(kRigheFattAcc, kTestataFattAcc)},
      {"TestataFatture", ExportTestataFatture, std::string(kTestataFattureBlock.query), ConditionCodes::Reads},
      {"RigheFatture", rows_of<kRigheFatture, kTestataFatture>, DocumentRowsQuery(kRigheFatture, kTestataFatture)},
      {"TestataBolle", ExportTestataBolle, std::string(kTestataBolleBlock.query)},
      {"RigheBolle", rows_of<kRigheBolle, kTestataBolle>, DocumentRowsQuery(kRigheBolle, kTestataBolle)},
      {"TestataOrdCli", ExportTestataOrdCli, std::string(kTestataOrdCliBlock.query), ConditionCodes::Reads},
      {"RigheOrdCli", rows_of<kRigheOrdCli, kTestataOrdCli>, DocumentRowsQuery(kRigheOrdCli, kTestataOrdCli)},
      {"TestataPreventivi", ExportTestataPreventivi, std::string(kTestataPreventiviBlock.query), ConditionCodes::Reads},
      {"RighePreventivi", rows_of<kRighePreventivi, kTestataPreventivi>, DocumentRowsQuery(kRighePreventivi, kTestataPreventivi)},
      {"TestataDocGen1", ExportTestataDocGen1, std::string(kTestataDocGen1Block.query), ConditionCodes::Reads},
      {"RigheDocGen1", rows_of<kRigheDocGen1, kTestataDocGen1>, DocumentRowsQuery(kRigheDocGen1, kTestataDocGen1)},
      {"TestataOrdForn", ExportTestataOrdForn, std::string(kTestataOrdFornBlock.query), ConditionCodes::Reads},
      {"RigheOrdForn", rows_of<kRigheOrdForn, kTestataOrdForn>, DocumentRowsQuery(kRigheOrdForn, kTestataOrdForn)},
      {"PrimanotaDocumenti", ExportPrimanotaDocumenti, kPrimanotaDocumentiQuery, ConditionCodes::Reads},
      {"PrimanotaMovimenti", ExportPrimanotaMovimenti, std::string(kPrimanotaMovimentiBlock.query)},
      {"ProgrDocumenti", ExportProgrDocumenti, std::string(kProgrDocumentiBlock.query)},
  };
  return plan;
}

}  // namespace tarvik::exporters
