// Text for a one-line value: control characters would break the line structure the importer
// reads by position, so they go; TAB is the one the importer keeps.
#pragma once

#include <string_view>

#include "archive/value.h"

namespace tarvik::transfer {

// `text` without the characters 0 to 31 other than 9 (TAB); everything else stays, in its order.
// Works on texts of any length.
archive::Text CleanText(std::u16string_view text);

}  // namespace tarvik::transfer
