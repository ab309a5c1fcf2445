// A field value as the report shows it, in UTF-8: keys and references in the rows it lists.
#pragma once

#include <string>

#include "archive/value.h"

namespace tarvik::report {

// Numbers and dates as the transfer file writes them, texts as they are, null as "(vuoto)".
std::string ValueText(const archive::Value& value);

// A Windows-1252 line of the transfer file, in UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace tarvik::report
