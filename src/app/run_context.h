// The state of one export run: the transfer file's path, the open archive and transfer file, the
// record total and the records done, the condition-code list. It belongs to the window and lives
// as long as it; the export stages see it through ExportContext.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "archive/database.h"
#include "exporters/export_context.h"
#include "transfer/transfer_writer.h"
#include "ui/window_port.h"

namespace tarvik::app {

class RunContext : public exporters::ExportContext {
 public:
  RunContext(ui::WindowPort& window, std::filesystem::path transfer_path)
      : window(window), transfer_path(std::move(transfer_path)) {}

  archive::Database& archive() override { return *open_archive; }
  transfer::TransferWriter& writer() override { return *transfer_file; }
  exporters::ConditionCodeList& condition_codes() override { return codes; }
  // Raises done; at every hundredth record shows "Avanzamento: done/total" and lets the window
  // handle its events, the only place a run does so. Leaving the 32-bit range is an overflow.
  void TickProgress() override;

  ui::WindowPort& window;
  const std::filesystem::path transfer_path;
  std::unique_ptr<archive::Database> open_archive;
  std::unique_ptr<transfer::TransferWriter> transfer_file;
  std::int32_t total = 0;
  std::int32_t done = 0;
  exporters::ConditionCodeList codes;
};

}  // namespace tarvik::app
