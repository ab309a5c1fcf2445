// Text from the archive on the page: every character that HTML gives a meaning is escaped, so a
// customer named "<script>" is shown as text and never runs.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::report {

void AppendEscaped(std::string& out, std::string_view utf8);
std::string Escaped(std::string_view utf8);

}  // namespace tarvik::report
