// tarvik-transfer verify FILE: reads a transfer file as the importer must and says where it
// breaks the layout, if anywhere.
#include <istream>
#include <memory>

#include "cli/command.h"
#include "cli/file_stream.h"
#include "platform/archive_file.h"
#include "transfer/block_layouts.h"
#include "transfer/layout_check.h"

namespace tarvik::cli {

int run_verify_command(CommandArgs args, CommandIo& io) {
  expect_arguments(args, 1);
  platform::FileError error = platform::FileError::None;
  std::unique_ptr<platform::ArchiveFile> file = platform::ArchiveFile::open(args[0], error);
  if (!file) {
    std::fprintf(io.err, "tarvik-transfer: impossibile leggere '%s'\n", args[0].c_str());
    return kExitFailed;
  }
  FileStreamBuffer buffer(std::move(file));
  std::istream in(&buffer);
  transfer::LayoutCheck check = transfer::check_layout(in, transfer::block_layouts());
  std::fprintf(io.out, "Totale record: %lld\nReparti: %s\n", static_cast<long long>(check.total),
               check.departments ? "T" : "F");
  for (const transfer::CheckedBlock& block : check.blocks)
    std::fprintf(io.out, "%-26s %lld\n", block.name.c_str(), static_cast<long long>(block.records));
  if (!check.ok) {
    std::fprintf(io.out, "Errore alla riga %zu: %s\n", check.bad_line, check.problem.c_str());
    return kExitFailed;
  }
  std::fputs("Il file rispetta il tracciato.\n", io.out);
  return kExitOk;
}

}  // namespace tarvik::cli
