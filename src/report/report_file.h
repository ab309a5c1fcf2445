// The report on disk, beside the transfer file. It is written the way the transfer file is: under
// a temporary name, taking its own only when complete, so a half-written report never stands.
#pragma once

#include <filesystem>
#include <string_view>

namespace tarvik::report {

// `ProvaExport.txt` gives `ProvaExport.html`. A transfer file that itself ends in ".html" keeps
// its name and gets ".html" added, so the report can never take the transfer file's place.
std::filesystem::path ReportPathFor(const std::filesystem::path& transfer_path);

// Throws TransferError (the same numbers as the transfer file's) when it cannot be written; no
// file is then left at `path` from this call.
void WriteReportFile(const std::filesystem::path& path, std::string_view html);

}  // namespace tarvik::report
