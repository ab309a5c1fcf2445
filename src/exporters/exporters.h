// The export stages, one per table block, in the order of the run plan. Each writes its block
// through the context and calls TickProgress once per record it reads.
#pragma once

#include <string_view>

#include "exporters/export_context.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

// Lookup tables.
void ExportTabellaAspettoBeni(ExportContext& context);
void ExportBancheAppoggio(ExportContext& context);
void ExportTabellaCausaliTrasporto(ExportContext& context);
void ExportCondPag(ExportContext& context);  // also fills the condition-code list
void ExportTabellaIVA(ExportContext& context);
void ExportTabellaProduttori(ExportContext& context);
void ExportTabellaVettori(ExportContext& context);
void ExportCausPrim(ExportContext& context);
void ExportTabellaContiCorrenti(ExportContext& context);
// Customers and suppliers, agents.
void ExportCliFor(ExportContext& context);
void ExportAgenti(ExportContext& context);
void ExportLinkAgentiCliFor(ExportContext& context);
// Warehouse.
void ExportMagazzino(ExportContext& context);
void ExportBarcodeMagazzino(ExportContext& context);
void ExportGiornaleMagazzino(ExportContext& context);
void ExportLinkMagazzinoFornitori(ExportContext& context);
void ExportDistinteMagazzino(ExportContext& context);
void ExportStampaPersonalizzata(ExportContext& context);
void ExportStampaPersonalizzata2(ExportContext& context);
// Documents: headers, and the rows of each kind.
void ExportTestataFattAcc(ExportContext& context);
void ExportTestataFatture(ExportContext& context);
void ExportTestataBolle(ExportContext& context);
void ExportTestataOrdCli(ExportContext& context);
void ExportTestataPreventivi(ExportContext& context);
void ExportTestataDocGen1(ExportContext& context);
void ExportTestataOrdForn(ExportContext& context);
void ExportDocumentRows(ExportContext& context, std::string_view rows_table, std::string_view header_table);
// Accounting and numbering.
void ExportPrimanotaDocumenti(ExportContext& context);
void ExportPrimanotaMovimenti(ExportContext& context);
void ExportProgrDocumenti(ExportContext& context);

// The blocks the stages write, for the run to open their queries ahead (run_plan.h).
extern const TableBlock kTabellaAspettoBeniBlock, kBancheAppoggioBlock, kTabellaCausaliTrasportoBlock,
    kCondPagBlock, kTabellaIVABlock, kTabellaProduttoriBlock, kTabellaVettoriBlock, kCausPrimBlock,
    kTabellaContiCorrentiBlock, kCliForBlock, kAgentiBlock, kLinkAgentiCliForBlock, kMagazzinoBlock,
    kBarcodeMagazzinoBlock, kGiornaleMagazzinoBlock, kLinkMagazzinoFornitoriBlock, kDistinteMagazzinoBlock,
    kStampaPersonalizzataBlock, kStampaPersonalizzata2Block, kTestataFattAccBlock, kTestataFattureBlock,
    kTestataBolleBlock, kTestataOrdCliBlock, kTestataPreventiviBlock, kTestataDocGen1Block,
    kTestataOrdFornBlock, kPrimanotaMovimentiBlock, kProgrDocumentiBlock;
// The journal documents' query: the stage has a rule of its own around it.
extern const char* const kPrimanotaDocumentiQuery;

}  // namespace tarvik::exporters
