// The report as one self-contained page: UTF-8, in Italian, a little CSS inline for screen and
// print, no scripts and nothing fetched from elsewhere. The summary table has a fixed markup so
// that other programs can read it:
//   <table id="riepilogo"> ... <tr data-blocco="NAME" data-scritti="N" data-esclusi="N"
//   data-modificati="N"> per block, in the order of the transfer file.
#pragma once

#include <string>

#include "report/transfer_report.h"

namespace tarvik::report {

std::string HtmlPage(const TransferReport& report, std::string_view version);

}  // namespace tarvik::report
