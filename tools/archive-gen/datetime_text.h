// Dates written as text in descriptions ("YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS", or "HH:MM:SS" for
// a time alone, which Jet keeps on 1899-12-30) and the day count Jet stores for them.
#pragma once

#include <optional>
#include <string_view>

#include "archive/value.h"

namespace tarvik::archive_gen {

// Days since 1899-12-30 of a calendar date (proleptic Gregorian).
long long days_since_1899_12_30(int year, int month, int day);

// The stored value of a date and a time of day in seconds: for days before 1899-12-30 the time
// counts forward from the (negative) day, as Jet reads it.
archive::DateTime jet_datetime(long long days, int seconds_of_day);

// Parses one of the three forms; none for anything else (or an impossible date or time).
std::optional<archive::DateTime> parse_datetime_text(std::string_view text);

}  // namespace tarvik::archive_gen
