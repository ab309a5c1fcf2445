// Runs export stages the way the run does, on an archive of the test, into a transfer file in a
// folder of the test, and gives back the file's lines (CR LF checked and removed, Windows-1252
// bytes kept as they are).
#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "archive/database.h"
#include "exporters/export_context.h"
#include "temp_dir.h"
#include "transfer/transfer_writer.h"

namespace tarvik::test {

class ExportHarness : public exporters::ExportContext {
 public:
  explicit ExportHarness(const std::filesystem::path& archive_path)
      : database_(archive::Database::open(archive_path.string())),
        output_path_(dir_ / "transfer.txt"),
        writer_(std::make_unique<transfer::TransferWriter>(output_path_)) {}

  archive::Database& archive() override { return *database_; }
  transfer::TransferWriter& writer() override { return *writer_; }
  exporters::ConditionCodeList& condition_codes() override { return codes; }
  void TickProgress() override { ++ticks; }

  // Closes the transfer file and returns its lines; a line not ended by CR LF fails the test.
  std::vector<std::string> lines() {
    writer_->close();
    std::ifstream in(output_path_, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) throw std::runtime_error("a line without CR LF at the end of the file");
      out.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
    return out;
  }

  exporters::ConditionCodeList codes;
  int ticks = 0;

 private:
  TempDir dir_;
  std::unique_ptr<archive::Database> database_;
  std::filesystem::path output_path_;
  std::unique_ptr<transfer::TransferWriter> writer_;
};

}  // namespace tarvik::test
