// tarvik-transfer export: the same run as the window's "Procedi", for scripts and support.
#include <unistd.h>

#include <optional>

#include "app/export_run.h"
#include "app/settings.h"
#include "app/startup_texts.h"
#include "cli/command.h"
#include "cli/console_window.h"

namespace tarvik::cli {

namespace {

constexpr const char* kDefaultOutput = "ProvaExport.txt";

struct ExportOptions {
  std::optional<std::string> folder;
  std::string output = kDefaultOutput;
  std::optional<bool> departments;
};

ExportOptions parse_options(CommandArgs args) {
  ExportOptions options;
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
  return options;
}

}  // namespace

int run_export_command(CommandArgs args, CommandIo& io) {
  ExportOptions options = parse_options(args);
  if (!options.departments && isatty(STDIN_FILENO) == 0)
    throw UsageError("--departments yes|no is needed when standard input is not a terminal");

  std::string folder;
  if (options.folder) {
    folder = *options.folder;
  } else {
    folder = app::ReadInstallationFolder();
    if (folder.empty())
      std::fprintf(io.err, "%s: %s\n", std::string(ui::kExportTitle).c_str(),
                   app::kMissingFolderMessage);
  }
  ConsoleWindow window(folder, options.departments, stdin, io.err);
  app::RunContext context(window, options.output);
  switch (app::Command1_Click(context)) {
    case app::RunOutcome::Finished: return kExitOk;
    case app::RunOutcome::RefusedFolder:
    case app::RunOutcome::RefusedByCheck: return kExitFailed;
    case app::RunOutcome::Failed: break;
  }
  return kExitUnexpected;  // reported, the transfer file deleted
}

}  // namespace tarvik::cli
