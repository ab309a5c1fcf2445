// The report on disk, beside the transfer file. It is written the way the transfer file is: under
// a temporary name, taking its own only when complete, so a half-written report never stands.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "report/transfer_report.h"
#include "transfer/output_file.h"

namespace tarvik::report {

// `ProvaExport.txt` gives `ProvaExport.html`. A transfer file that itself ends in ".html" keeps
// its name and gets ".html" added, so the report can never take the transfer file's place.
std::filesystem::path ReportPathFor(const std::filesystem::path& transfer_path);

// Writes the report's page under a temporary name beside `path`; it takes its own name only when
// the caller commits it, so that it can be written while the transfer file is still going to disk
// and be named after it. Dropped uncommitted, it leaves nothing. Throws TransferError (the same
// numbers as the transfer file's) when it cannot be written.
std::unique_ptr<transfer::OutputFile> WriteReportFileAhead(const std::filesystem::path& path,
                                                           const TransferReport& report, std::string_view version);

}  // namespace tarvik::report
