// A press of "Procedi" in a test: the folder box filled, the run made on a recording window, the
// transfer file written into a folder of its own, so that a test sees every file a run leaves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/export_run.h"
#include "app/run_context.h"
#include "app/run_archives.h"
#include "archive/archive_error.h"
#include "archive/database.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"
#include "transfer/block_layouts.h"
#include "transfer/layout_check.h"

namespace tarvik::test::run {

inline constexpr const char* kTitle = "Esportazione dati Tarvik";
// The separator the run appends to a folder text: the system's own.
#ifdef _WIN32
inline const std::string kSep = "\\";
#else
inline const std::string kSep = "/";
#endif

class ExportRunTest : public ::testing::Test {
 protected:
  // The folder text as a user types it: no separator at the end.
  std::string archive_folder_text() const { return archives_.path().string(); }
  std::filesystem::path archive_path() const { return archives_ / kArchiveName; }
  std::filesystem::path transfer_path() const { return output_ / "ProvaExport.txt"; }

  // Presses "Procedi" with `folder` in the box, on a fresh run context, as a new start of the
  // program would. The context's counters are kept for the test, and whether the run let the
  // archive go while the context (the window's) still lives. Whatever the outcome, the archive
  // must be as it was: a run never writes to it.
  app::RunOutcome press(const std::string& folder) { return press_on(window_, folder); }
  app::RunOutcome press_on(ui::WindowPort& window, const std::string& folder) {
    std::optional<UntouchedArchive> archive;
    if (std::filesystem::is_regular_file(archive_path())) archive.emplace(archive_path());
    window.set_folder_text(folder);
    app::RunContext context(window, transfer_path());
    if (recording_memory_) context.recording_memory = *recording_memory_;
    if (recording_disk_) context.recording_disk = *recording_disk_;
    const app::RunOutcome outcome = app::Command1_Click(context);
    total_ = context.total;
    done_ = context.done;
    archive_released_ = can_take_archive();
    if (archive) archive->expect_untouched();
    return outcome;
  }

  // A file at the transfer path from an earlier run.
  void leave_older_transfer_file() const { std::ofstream(transfer_path(), std::ios::binary) << " 1 \r\nF\r\n"; }

  // After a run that did not fail, the archive is closed: another export can take its lock.
  void expect_archive_released() const { EXPECT_TRUE(archive_released_); }

  void expect_no_transfer_file() const {
    EXPECT_TRUE(folder_entries(output_.path()).empty()) << "files left: " << ::testing::PrintToString(folder_entries(output_.path()));
  }

  transfer::LayoutCheck check_transfer_file() const {
    return transfer::check_layout(read_file(transfer_path()), transfer::block_layouts());
  }

  bool can_take_archive() const {
    try {
      archive::Database::open(archive_path().string())->close();
      return true;
    } catch (const archive::ArchiveError&) {
      return false;
    }
  }

  TempDir archives_;
  TempDir output_;
  RecordingWindow window_;
  std::int32_t total_ = 0;
  std::int32_t done_ = 0;
  bool archive_released_ = false;
  std::optional<std::size_t> recording_memory_;  // the run's own when unset
  std::optional<std::uint64_t> recording_disk_;
};

}  // namespace tarvik::test::run
