#include "exporters/run_plan.h"

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
      {"TabellaAspettoBeni", ExportTabellaAspettoBeni},
      {"BancheAppoggio", ExportBancheAppoggio},
      {"TabellaCausaliTrasporto", ExportTabellaCausaliTrasporto},
      {"CondPag", ExportCondPag},
      {"TabellaIVA", ExportTabellaIVA},
      {"TabellaProduttori", ExportTabellaProduttori},
      {"TabellaVettori", ExportTabellaVettori},
      {"CausPrim", ExportCausPrim},
      {"TabellaContiCorrenti", ExportTabellaContiCorrenti},
      {"CliFor", ExportCliFor},
      {"Agenti", ExportAgenti},
      {"LinkAgentiCliFor", ExportLinkAgentiCliFor},
      {"Magazzino", ExportMagazzino},
      {"BarcodeMagazzino", ExportBarcodeMagazzino},
      {"GiornaleMagazzino", ExportGiornaleMagazzino},
      {"LinkMagazzinoFornitori", ExportLinkMagazzinoFornitori},
      {"DistinteMagazzino", ExportDistinteMagazzino},
      {"StampaPersonalizzata", ExportStampaPersonalizzata},
      {"StampaPersonalizzata2", ExportStampaPersonalizzata2},
      {"TestataFattAcc", ExportTestataFattAcc},
      {"RigheFattAcc", rows_of<kRigheFattAcc, kTestataFattAcc>},
      {"TestataFatture", ExportTestataFatture},
      {"RigheFatture", rows_of<kRigheFatture, kTestataFatture>},
      {"TestataBolle", ExportTestataBolle},
      {"RigheBolle", rows_of<kRigheBolle, kTestataBolle>},
      {"TestataOrdCli", ExportTestataOrdCli},
      {"RigheOrdCli", rows_of<kRigheOrdCli, kTestataOrdCli>},
      {"TestataPreventivi", ExportTestataPreventivi},
      {"RighePreventivi", rows_of<kRighePreventivi, kTestataPreventivi>},
      {"TestataDocGen1", ExportTestataDocGen1},
      {"RigheDocGen1", rows_of<kRigheDocGen1, kTestataDocGen1>},
      {"TestataOrdForn", ExportTestataOrdForn},
      {"RigheOrdForn", rows_of<kRigheOrdForn, kTestataOrdForn>},
      {"PrimanotaDocumenti", ExportPrimanotaDocumenti},
      {"PrimanotaMovimenti", ExportPrimanotaMovimenti},
      {"ProgrDocumenti", ExportProgrDocumenti},
  };
  return plan;
}

}  // namespace tarvik::exporters
