// Dates in the transfer file: "yyyy-mm-dd", the time of day dropped.
#pragma once

#include <string>

#include "archive/value.h"

namespace tarvik::transfer {

// Appends the date of a Jet day count: the count truncated toward zero is the day, counted from
// 1899-12-30 (so -1.5 is 1899-12-29 at noon), on the proleptic Gregorian calendar. A count that is
// not finite or whose year does not fit four digits (before 0001-01-01 or after 9999-12-31) has no
// such date: nothing is appended and the result is false.
bool append_date_text(std::string& out, archive::DateTime value);

}  // namespace tarvik::transfer
