// A changed value told in Italian: what the archive held and what the transfer file got.
#pragma once

#include <string>

#include "transfer/value_observer.h"

namespace tarvik::report {

std::string DescribeChange(const transfer::ValueChange& change);

}  // namespace tarvik::report
