// The sales agents: the commission rules of every agent that has a register record, and the
// pairs of customer and agent for every register record whose agent is such an agent.
#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

const TableBlock kAgentiBlock{"Agenti",
                              "SELECT Agenti.* FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor",
                              {{"idCliFor"},
                               {"TipoProvvigione"},
                               {"ProvvFissa"},
                               {"Fascia1Fin"}, {"Fascia1Provv"},
                               {"Fascia2Fin"}, {"Fascia2Provv"},
                               {"Fascia3Fin"}, {"Fascia3Provv"},
                               {"Fascia4Fin"}, {"Fascia4Provv"},
                               {"Fascia5Fin"}, {"Fascia5Provv"},
                               {"Fascia6Fin"}, {"Fascia6Provv"},
                               {"Fascia7Fin"}, {"Fascia7Provv"},
                               {"Fascia8Fin"}, {"Fascia8Provv"}}};

// No archive table has this name: the pairs come from the register joined to the agents and,
// through them, to the agents' own register records.
const TableBlock kLinkAgentiCliForBlock{"LinkAgentiCliFor",
                                        "SELECT CliFor.idCliFor, CliFor.idAgente FROM (CliFor INNER JOIN Agenti ON "
                                        "CliFor.idAgente = Agenti.idCliFor) INNER JOIN CliFor AS CliFor_1 ON "
                                        "Agenti.idCliFor = CliFor_1.idCliFor",
                                        {{"idCliFor"}, {"idAgente"}}};

void ExportAgenti(ExportContext& context) { ExportBlock(context, kAgentiBlock); }
void ExportLinkAgentiCliFor(ExportContext& context) { ExportBlock(context, kLinkAgentiCliForBlock); }

}  // namespace tarvik::exporters
