#include "cli/dispatch.h"

#include <exception>
#include <new>
#include <string_view>

#include "archive/archive_error.h"
#include "cli/buffered_output.h"
#include "cli/command.h"
#include "cli/query_command.h"
#include "common/version.h"

namespace tarvik::cli {
namespace {

struct CommandEntry {
  std::string_view name;
  std::string_view arguments;
  std::string_view summary;
  int (*run)(CommandArgs, CommandIo&);
};

// Later commands (export, verify, query) are one more row each.
constexpr CommandEntry kCommands[] = {
    {"tables", "ARCHIVE", "each user table with its row count and its columns (name, type, size)",
     run_tables_command},
    {"dump", "ARCHIVE TABLE",
     "the table as JSON lines: the columns first, then one object per row in physical order",
     run_dump_command},
    {"export", "[--folder DIR] [--output FILE] [--departments yes|no]",
     "the export run: the transfer file of the archive Tarvik.mdb in the folder (by default the "
     "installation folder of the settings) into FILE (by default ProvaExport.txt)",
     run_export_command},
    {"report", "[--folder DIR] [--output FILE.html] [--departments yes|no]",
     "the checks and the transfer report of an export (rows left out, values changed) without "
     "writing a transfer file; the report goes to FILE.html (by default ProvaExport.html)",
     run_report_command},
    {"verify", "FILE", "reads a transfer file as the importer does: each block and its count, or "
     "the first line that breaks the layout", run_verify_command},
    {"query", "ARCHIVE SQL",
     "the rows of a query in Jet's dialect, as JSON lines in the form of dump",
     run_query_command},
};

void print_usage(std::FILE* to) {
  std::fputs("usage: tarvik-transfer COMMAND ARGUMENTS...\n\ncommands:\n", to);
  for (const CommandEntry& command : kCommands) {
    std::fprintf(to, "  %.*s %.*s\n      %.*s\n", static_cast<int>(command.name.size()),
                 command.name.data(), static_cast<int>(command.arguments.size()),
                 command.arguments.data(), static_cast<int>(command.summary.size()),
                 command.summary.data());
  }
  std::fputs(
      "  help\n      this text\n"
      "  --version\n      the program's version\n\n"
      "exit codes:\n"
      "  0   done\n"
      "  1   the archive could not be read (\"Errore NUMBER: DESCRIPTION\" on standard error)\n"
      "      or the output could not be written\n"
      "  2   an unexpected error\n"
      "  64  wrong usage: unknown command or wrong number of arguments\n"
      "export, report: 1 when the folder tests or an archive check refused, 2 on an unexpected\n"
      "  error (reported, and neither the transfer file nor the report remains); export names its\n"
      "  report (FILE with the extension .html) on standard error at the end; verify: 1 when the file breaks the layout\n",
      to);
}

const CommandEntry* find_command(std::string_view name) {
  for (const CommandEntry& command : kCommands)
    if (command.name == name) return &command;
  return nullptr;
}

int usage_failure(std::FILE* err, std::string_view message) {
  std::fprintf(err, "tarvik-transfer: %.*s\n\n", static_cast<int>(message.size()), message.data());
  print_usage(err);
  return kExitBadUsage;
}

}  // namespace

void expect_arguments(CommandArgs args, std::size_t count) {
  if (args.size() != count)
    throw UsageError("expected " + std::to_string(count) + " argument" + (count == 1 ? "" : "s") +
                     ", got " + std::to_string(args.size()));
}

int run_cli(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  if (args.empty()) return usage_failure(err, "no command given");
  const std::string_view name = args[0];
  if (name == "help" || name == "--help" || name == "-h") {
    print_usage(out);
    return kExitOk;
  }
  if (name == "--version") {
    if (args.size() != 1) return usage_failure(err, "--version takes no arguments");
    std::fprintf(out, "tarvik-transfer %s\n", kVersion);
    return kExitOk;
  }
  const CommandEntry* command = find_command(name);
  if (command == nullptr) return usage_failure(err, "unknown command '" + args[0] + "'");

  CommandIo io{out, err};
  try {
    return command->run(args.subspan(1), io);
  } catch (const UsageError& e) {
    return usage_failure(err, std::string(command->name) + ": " + e.what());
  } catch (const archive::ArchiveError& e) {
    std::fprintf(err, "Errore %d: %s\n", e.number(), e.description().c_str());
  } catch (const OutputError& e) {
    std::fprintf(err, "tarvik-transfer: %s\n", e.what());
  } catch (const std::bad_alloc&) {
    std::fputs("tarvik-transfer: out of memory\n", err);
    return kExitUnexpected;
  } catch (const std::exception& e) {
    std::fprintf(err, "tarvik-transfer: %s\n", e.what());
    return kExitUnexpected;
  }
  return kExitFailed;
}

}  // namespace tarvik::cli
