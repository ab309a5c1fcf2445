// What every subcommand of tarvik-transfer shares: its arguments, where it prints, how it fails.
// A command returns an exit code; wrong arguments throw UsageError, archive failures ArchiveError,
// and the dispatcher turns both into a message and the documented exit code.
#pragma once

#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>

namespace tarvik::cli {

enum ExitCode : int {
  kExitOk = 0,
  kExitFailed = 1,      // the archive could not be read, the output not written, or a refusal
  kExitUnexpected = 2,  // an unexpected error (an export's is reported, its file deleted)
  kExitBadUsage = 64,   // unknown command or wrong arguments (the conventional EX_USAGE)
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandIo {
  std::FILE* out;
  std::FILE* err;
};

using CommandArgs = std::span<const std::string>;

// The arguments after the command's name, checked to be exactly `count`.
void expect_arguments(CommandArgs args, std::size_t count);

int run_tables_command(CommandArgs args, CommandIo& io);  // tables ARCHIVE
int run_dump_command(CommandArgs args, CommandIo& io);    // dump ARCHIVE TABLE
int run_export_command(CommandArgs args, CommandIo& io);  // export [--folder DIR] [--output FILE] ...
int run_report_command(CommandArgs args, CommandIo& io);  // report [--folder DIR] [--output FILE.html] ...
int run_verify_command(CommandArgs args, CommandIo& io);  // verify FILE

}  // namespace tarvik::cli
