// What the fault tests share: sample archives written once per test run, a folder holding one as
// Tarvik.mdb, the export command line, and the checks every outcome must pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "robustness/archive_fingerprint.h"
#include "robustness/tool_process.h"
#include "support/temp_dir.h"

namespace tarvik::test {

inline constexpr const char* kArchiveName = "Tarvik.mdb";
inline constexpr const char* kUnexpectedError = "Si è verificato un errore imprevisto n.";

// The sample archive of `scale` (archive-gen's, seed 1), written on first use into a folder that
// lives as long as the test program. Scale 1 is about 2 MB and 3700 records.
const std::filesystem::path& sample_archive(int scale);

std::vector<std::uint8_t> read_file_bytes(const std::filesystem::path& path);
void write_file_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// `tarvik-transfer export` of the archive in `folder` into `output`, answering the department
// question with no.
std::vector<std::string> export_args(const std::filesystem::path& folder, const std::filesystem::path& output);

// The names of the entries of a folder, sorted.
std::vector<std::string> folder_entries(const std::filesystem::path& folder);

}  // namespace tarvik::test

namespace tarvik::test {

// Runs `tarvik-transfer verify` on a transfer file; true when it keeps the importer's layout.
bool transfer_file_verifies(const std::filesystem::path& file);

// A copy of the tool that user nobody can run (the build folder may be closed to others), or the
// tool itself when the tests do not run as root. Empty, with `why` set, when the tests run as root
// but cannot start a child as nobody: permission bits do not stop root, so such a test must skip.
std::string tool_for_unprivileged_user(std::string& why);

// Makes a test folder usable by user nobody: TempDir creates it for its owner only.
void open_to_everyone(const std::filesystem::path& folder);

}  // namespace tarvik::test
