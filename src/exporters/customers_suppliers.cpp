// The customer and supplier register: every record, its notes memo written as stored and its
// payment condition written only when that condition was exported.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kCliForBlock{"CliFor",
                              "SELECT * FROM CliFor",
                              {{"idCliFor"},
                               {"ClienteOFornitore"},
                               {"NomeAbituale"},
                               {"RagioneSociale1"},
                               {"RagioneSociale2"},
                               {"Indirizzo"},
                               {"Indirizzo2"},
                               {"CAP"},
                               {"Citta"},
                               {"Provincia"},
                               {"PartitaIVA"},
                               {"CodiceFiscale"},
                               {"Telefono1"},
                               {"Telefono2"},
                               {"Fax"},
                               {"FasciaDiPrezzo"},
                               {"Note", Treatment::RawMemo},
                               {"Tipo"},
                               {"idCondPag", Treatment::MappedCondPag},
                               {"Vettore1"},
                               {"Vettore2"},
                               {"BancaAppoggio"},
                               {"Annullato"},
                               {"E-Mail"},
                               {"BancaAppoggio2"},
                               {"ABI"},
                               {"CAB"},
                               {"idTabIva"},
                               {"SLRagioneSociale1"},
                               {"SLRagioneSociale2"},
                               {"SLIndirizzo"},
                               {"SLIndirizzo2"},
                               {"SLCAP"},
                               {"SLCitta"},
                               {"SLProvincia"},
                               {"NoteInFattura"},
                               {"ScontoAbituale"},
                               {"NoteInPreventivo"},
                               {"SpeseBanca"},
                               {"SpeseTrasporto"},
                               {"idVettore1"}}};

void ExportCliFor(ExportContext& context) { ExportBlock(context, kCliForBlock); }

}  // namespace tarvik::exporters
