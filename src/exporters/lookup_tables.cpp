// The small lookup tables: each block is every record of its table, every field written plain.
// The payment conditions also fill the condition-code list that MapCondPag later reads.
#include "exporters/exporters.h"
#include "exporters/map_cond_pag.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kTabellaAspettoBeniBlock{"TabellaAspettoBeni", "SELECT * FROM TabellaAspettoBeni",
                                          {{"idRecord"}, {"Descrizione"}}};

const TableBlock kBancheAppoggioBlock{"BancheAppoggio", "SELECT * FROM BancheAppoggio",
                                      {{"idBanca"}, {"BancaAppoggio"}, {"BancaAppoggio2"}, {"ABI"}, {"CAB"}}};

const TableBlock kTabellaCausaliTrasportoBlock{"TabellaCausaliTrasporto", "SELECT * FROM TabellaCausaliTrasporto",
                                               {{"idRecord"}, {"Descrizione"}, {"FatturareDDT"}}};

const TableBlock kCondPagBlock{"CondPag",
                               "SELECT * FROM CondPag",
                               {{"idCondPag"},
                                {"Descrizione"},
                                {"Giorni1"}, {"FineMese1"}, {"Percentuale1"},
                                {"Giorni2"}, {"FineMese2"}, {"Percentuale2"},
                                {"Giorni3"}, {"FineMese3"}, {"Percentuale3"},
                                {"Giorni4"}, {"FineMese4"}, {"Percentuale4"},
                                {"RicevutaBancaria"}}};

const TableBlock kTabellaIVABlock{"TabellaIVA", "SELECT * FROM TabellaIVA", {{"idTabIva"}, {"Descrizione"}, {"Aliquota"}}};

const TableBlock kTabellaProduttoriBlock{"TabellaProduttori", "SELECT * FROM TabellaProduttori",
                                         {{"idRecord"}, {"Descrizione"}}};

const TableBlock kTabellaVettoriBlock{"TabellaVettori",
                                      "SELECT * FROM TabellaVettori",
                                      {{"idRecord"}, {"Descrizione"}, {"Descrizione2"}, {"Descrizione3"},
                                       {"Descrizione4"}, {"PartitaIVA"}, {"IscrizioneAlbo"}}};

const TableBlock kCausPrimBlock{"CausPrim", "SELECT * FROM CausPrim", {{"idCausPrim"}, {"Descrizione"}, {"PagamentoIncasso"}}};

const TableBlock kTabellaContiCorrentiBlock{"TabellaContiCorrenti", "SELECT * FROM TabellaContiCorrenti",
                                            {{"idRecord"}, {"Descrizione"}}};

void ExportTabellaAspettoBeni(ExportContext& context) { ExportBlock(context, kTabellaAspettoBeniBlock); }
void ExportBancheAppoggio(ExportContext& context) { ExportBlock(context, kBancheAppoggioBlock); }
void ExportTabellaCausaliTrasporto(ExportContext& context) { ExportBlock(context, kTabellaCausaliTrasportoBlock); }

void ExportCondPag(ExportContext& context) {
  ConditionCodeList& codes = context.condition_codes();
  codes.clear();
  // Every id is kept at its own width, however many conditions there are. An id that is no whole
  // number (null, text, a fraction) is not kept: no reference can be mapped to it.
  ExportBlock(context, kCondPagBlock, [&codes](archive::Recordset& records) {
    if (auto code = condition_code_of(records.field("idCondPag"))) codes.insert(*code);
  });
}

void ExportTabellaIVA(ExportContext& context) { ExportBlock(context, kTabellaIVABlock); }
void ExportTabellaProduttori(ExportContext& context) { ExportBlock(context, kTabellaProduttoriBlock); }
void ExportTabellaVettori(ExportContext& context) { ExportBlock(context, kTabellaVettoriBlock); }
void ExportCausPrim(ExportContext& context) { ExportBlock(context, kCausPrimBlock); }
void ExportTabellaContiCorrenti(ExportContext& context) { ExportBlock(context, kTabellaContiCorrentiBlock); }

}  // namespace tarvik::exporters
