// The small lookup tables: each block is every record of its table, every field written plain.
// The payment conditions also fill the condition-code list that MapCondPag later reads.
#include "exporters/exporters.h"
#include "exporters/map_cond_pag.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

namespace {

const TableBlock kTabellaAspettoBeni{"TabellaAspettoBeni", "SELECT * FROM TabellaAspettoBeni",
                                     {{"idRecord"}, {"Descrizione"}}};

const TableBlock kBancheAppoggio{"BancheAppoggio", "SELECT * FROM BancheAppoggio",
                                 {{"idBanca"}, {"BancaAppoggio"}, {"BancaAppoggio2"}, {"ABI"}, {"CAB"}}};

const TableBlock kTabellaCausaliTrasporto{"TabellaCausaliTrasporto", "SELECT * FROM TabellaCausaliTrasporto",
                                          {{"idRecord"}, {"Descrizione"}, {"FatturareDDT"}}};

const TableBlock kCondPag{"CondPag",
                          "SELECT * FROM CondPag",
                          {{"idCondPag"},
                           {"Descrizione"},
                           {"Giorni1"}, {"FineMese1"}, {"Percentuale1"},
                           {"Giorni2"}, {"FineMese2"}, {"Percentuale2"},
                           {"Giorni3"}, {"FineMese3"}, {"Percentuale3"},
                           {"Giorni4"}, {"FineMese4"}, {"Percentuale4"},
                           {"RicevutaBancaria"}}};

const TableBlock kTabellaIVA{"TabellaIVA", "SELECT * FROM TabellaIVA", {{"idTabIva"}, {"Descrizione"}, {"Aliquota"}}};

const TableBlock kTabellaProduttori{"TabellaProduttori", "SELECT * FROM TabellaProduttori",
                                    {{"idRecord"}, {"Descrizione"}}};

const TableBlock kTabellaVettori{"TabellaVettori",
                                 "SELECT * FROM TabellaVettori",
                                 {{"idRecord"}, {"Descrizione"}, {"Descrizione2"}, {"Descrizione3"},
                                  {"Descrizione4"}, {"PartitaIVA"}, {"IscrizioneAlbo"}}};

const TableBlock kCausPrim{"CausPrim", "SELECT * FROM CausPrim", {{"idCausPrim"}, {"Descrizione"}, {"PagamentoIncasso"}}};

const TableBlock kTabellaContiCorrenti{"TabellaContiCorrenti", "SELECT * FROM TabellaContiCorrenti",
                                       {{"idRecord"}, {"Descrizione"}}};

}  // namespace

void ExportTabellaAspettoBeni(ExportContext& context) { ExportBlock(context, kTabellaAspettoBeni); }
void ExportBancheAppoggio(ExportContext& context) { ExportBlock(context, kBancheAppoggio); }
void ExportTabellaCausaliTrasporto(ExportContext& context) { ExportBlock(context, kTabellaCausaliTrasporto); }

void ExportCondPag(ExportContext& context) {
  ConditionCodeList& codes = context.condition_codes();
  codes.clear();
  // Every id is kept at its own width, however many conditions there are. An id that is no whole
  // number (null, text, a fraction) is not kept: no reference can be mapped to it.
  ExportBlock(context, kCondPag, [&codes](archive::Recordset& records) {
    if (auto code = condition_code_of(records.field("idCondPag"))) codes.insert(*code);
  });
}

void ExportTabellaIVA(ExportContext& context) { ExportBlock(context, kTabellaIVA); }
void ExportTabellaProduttori(ExportContext& context) { ExportBlock(context, kTabellaProduttori); }
void ExportTabellaVettori(ExportContext& context) { ExportBlock(context, kTabellaVettori); }
void ExportCausPrim(ExportContext& context) { ExportBlock(context, kCausPrim); }
void ExportTabellaContiCorrenti(ExportContext& context) { ExportBlock(context, kTabellaContiCorrenti); }

}  // namespace tarvik::exporters
