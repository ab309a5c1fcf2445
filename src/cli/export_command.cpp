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
    if (i + 1 >= args.size()) throw UsageError("manca il valore di '" + option + "'");
    const std::string& value = args[++i];
    if (option == "--folder") {
      options.folder = value;
    } else if (option == "--output") {
      options.output = value;
    } else if (option == "--departments") {
      if (value != "yes" && value != "no") throw UsageError("--departments vuole yes oppure no");
      options.departments = value == "yes";
    } else {
      throw UsageError("opzione sconosciuta: '" + option + "'");
    }
  }
  if (!options.departments && !platform::IsTerminal(stdin))
    throw UsageError("l'opzione --departments yes|no è obbligatoria quando il comando non legge dalla tastiera "
                     "(per esempio in uno script)");
  return options;
}

std::string installation_folder(const ExportOptions& options, CommandIo& io) {
  if (options.folder) return *options.folder;
  std::string folder = app::ReadInstallationFolder();
  if (folder.empty())
    platform::WriteText(io.err, std::string(ui::kExportTitle) + ": " + app::kMissingFolderMessage + "\n");
  return folder;
}

// The last line of a finished run: where the report is and what it found.
void print_report_summary(const app::RunContext& context, CommandIo& io) {
  const report::ReportTotals totals = context.report->totals();
  platform::WriteText(io.err, "Resoconto: " + platform::Utf8FromPath(context.report_path) + " (" +
                                  std::to_string(totals.written) + " record scritti, " +
                                  std::to_string(totals.left_out) + " righe escluse, " +
                                  std::to_string(totals.changed) + " valori modificati)\n");
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
