// The key that names the record being written in each block, for the list of changed values:
// the document's idDocumento, the item's Codice, the register record's idCliFor.
#pragma once

#include <string>
#include <string_view>

#include "archive/recordset.h"

namespace tarvik::report {

// "idDocumento 77", or "Codice 'ABC01'"; for a block without a key of its own, the first field.
std::string RecordKey(std::string_view block, archive::Recordset& records);

}  // namespace tarvik::report
