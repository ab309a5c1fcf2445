// tarvik-transfer verify FILE: reads a transfer file as the importer must and says where it
// breaks the layout, if anywhere.
#include <istream>
#include <memory>

#include "cli/command.h"
#include "cli/file_stream.h"
#include "platform/archive_file.h"
#include "platform/console.h"
#include "transfer/block_layouts.h"
#include "transfer/layout_check.h"

namespace tarvik::cli {

int run_verify_command(CommandArgs args, CommandIo& io) {
  expect_arguments(args, 1);
  platform::FileError error = platform::FileError::None;
  std::unique_ptr<platform::ArchiveFile> file = platform::ArchiveFile::open(args[0], error);
  if (!file) {
    platform::WriteText(io.err, "tarvik-transfer: impossibile leggere '" + args[0] + "'\n");
    return kExitFailed;
  }
  FileStreamBuffer buffer(std::move(file));
  std::istream in(&buffer);
  transfer::LayoutCheck check = transfer::check_layout(in, transfer::block_layouts());
  std::string text = "Totale record: " + std::to_string(check.total) + "\nReparti: " + (check.departments ? "T" : "F") + "\n";
  for (const transfer::CheckedBlock& block : check.blocks) {
    // The counts in one column: names are padded to 26 characters.
    text += block.name + std::string(block.name.size() < 26 ? 26 - block.name.size() : 0, ' ') + " " +
            std::to_string(block.records) + "\n";
  }
  if (!check.ok) {
    platform::WriteText(io.out, text + "Errore alla riga " + std::to_string(check.bad_line) + ": " + check.problem + "\n");
    return kExitFailed;
  }
  platform::WriteText(io.out, text + "Il file rispetta il tracciato.\n");
  return kExitOk;
}

}  // namespace tarvik::cli
