// tarvik-transfer export: the same run as the window's "Procedi", for scripts and support; and
// tarvik-transfer report, the same run without a transfer file, for a look at what it would lose.
#include <optional>

#include "app/export_run.h"
#include "app/settings.h"
#include "app/startup_texts.h"
#include "cli/command.h"
#include "cli/console_window.h"
#include "platform/console.h"
#include "platform/utf8_path.h"

namespace tarvik::cli {

namespace {

struct ExportOptions {
  std::optional<std::string> folder;
  std::string output;
  std::optional<bool> departments;
};

ExportOptions parse_options(CommandArgs args, std::string default_output) {
  ExportOptions options;
  options.output = std::move(default_output);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) throw UsageError("'" + option + "' needs a value");
    const std::string& value = args[++i];
    if (option == "--folder") {
      options.folder = value;
    } else if (option == "--output") {
      options.output = value;
    } else if (option == "--departments") {
      if (value != "yes" && value != "no") throw UsageError("--departments takes yes or no");
      options.departments = value == "yes";
    } else {
      throw UsageError("unknown option '" + option + "'");
    }
  }
  if (!options.departments && !platform::IsTerminal(stdin))
    throw UsageError("--departments yes|no is needed when standard input is not a terminal");
  return options;
}

std::string installation_folder(const ExportOptions& options, CommandIo& io) {
  if (options.folder) return *options.folder;
  std::string folder = app::ReadInstallationFolder();
  if (folder.empty())
    std::fprintf(io.err, "%s: %s\n", std::string(ui::kExportTitle).c_str(), app::kMissingFolderMessage);
  return folder;
}

// The last line of a finished run: where the report is and what it found.
void print_report_summary(const app::RunContext& context, CommandIo& io) {
  const report::ReportTotals totals = context.report->totals();
  std::fprintf(io.err, "Resoconto: %s (%lld record scritti, %lld righe escluse, %lld valori modificati)\n",
               platform::Utf8FromPath(context.report_path).c_str(), static_cast<long long>(totals.written),
               static_cast<long long>(totals.left_out), static_cast<long long>(totals.changed));
}

int exit_code(app::RunOutcome outcome) {
  switch (outcome) {
    case app::RunOutcome::Finished: return kExitOk;
    case app::RunOutcome::RefusedFolder:
    case app::RunOutcome::RefusedByCheck: return kExitFailed;
    case app::RunOutcome::Failed: break;
  }
  return kExitUnexpected;  // reported, the files deleted
}

int run(app::RunContext& context, CommandIo& io) {
  const app::RunOutcome outcome = app::Command1_Click(context);
  if (outcome == app::RunOutcome::Finished) print_report_summary(context, io);
  return exit_code(outcome);
}

}  // namespace

int run_export_command(CommandArgs args, CommandIo& io) {
  const ExportOptions options = parse_options(args, "ProvaExport.txt");
  ConsoleWindow window(installation_folder(options, io), options.departments, stdin, io.err);
  app::RunContext context(window, platform::PathFromUtf8(options.output));
  return run(context, io);
}

int run_report_command(CommandArgs args, CommandIo& io) {
  const ExportOptions options = parse_options(args, "ProvaExport.html");
  ConsoleWindow window(installation_folder(options, io), options.departments, stdin, io.err);
  auto context = app::RunContext::ReportOnly(window, platform::PathFromUtf8(options.output));
  return run(*context, io);
}

}  // namespace tarvik::cli
