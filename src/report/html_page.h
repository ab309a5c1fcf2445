// The report as one self-contained page: UTF-8, in Italian, a little CSS inline for screen and
// print, no scripts and nothing fetched from elsewhere. The summary table has a fixed markup so
// that other programs can read it:
//   <table id="riepilogo"> ... <tr data-blocco="NAME" data-scritti="N" data-esclusi="N"
//   data-modificati="N"> per block, in the order of the transfer file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "report/transfer_report.h"

namespace tarvik::report {

// Receives the page piece by piece, in order.
using PageSink = std::function<void(std::string_view)>;

// Writes the page to `sink` in pieces of some tens of kilobytes, so that a long report is never
// held whole in memory.
void WriteHtmlPage(const TransferReport& report, std::string_view version, const PageSink& sink);

}  // namespace tarvik::report
