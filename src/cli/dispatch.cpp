#include "cli/dispatch.h"

#include <exception>
#include <new>
#include <string_view>

#include "archive/archive_error.h"
#include "cli/buffered_output.h"
#include "cli/command.h"
#include "cli/usage.h"
#include "common/version.h"
#include "platform/console.h"

namespace tarvik::cli {
namespace {

int usage_failure(std::FILE* err, std::string_view message) {
  platform::WriteText(err, "tarvik-transfer: " + std::string(message) + "\n\n");
  print_usage(err);
  return kExitBadUsage;
}

}  // namespace

void expect_arguments(CommandArgs args, std::size_t count) {
  if (args.size() != count)
    throw UsageError((count == 1 ? std::string("serve 1 argomento") : "servono " + std::to_string(count) + " argomenti") +
                     ", non " + std::to_string(args.size()));
}

int run_cli(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  if (args.empty()) return usage_failure(err, "nessun comando indicato");
  const std::string_view name = args[0];
  if (name == "help" || name == "--help" || name == "-h") {
    print_usage(out);
    return kExitOk;
  }
  if (name == "--version") {
    if (args.size() != 1) return usage_failure(err, "--version non vuole argomenti");
    platform::WriteText(out, std::string("tarvik-transfer ") + kVersion + "\n");
    return kExitOk;
  }
  const CommandEntry* command = find_command(name);
  if (command == nullptr) return usage_failure(err, "comando sconosciuto: '" + args[0] + "'");

  CommandIo io{out, err};
  try {
    return command->run(args.subspan(1), io);
  } catch (const UsageError& e) {
    return usage_failure(err, std::string(command->name) + ": " + e.what());
  } catch (const archive::ArchiveError& e) {
    platform::WriteText(err, "Errore " + std::to_string(e.number()) + ": " + e.description() + "\n");
  } catch (const OutputError& e) {
    platform::WriteText(err, std::string("tarvik-transfer: ") + e.what() + "\n");
  } catch (const std::bad_alloc&) {
    platform::WriteText(err, "tarvik-transfer: memoria esaurita\n");
    return kExitUnexpected;
  } catch (const std::exception& e) {
    platform::WriteText(err, std::string("tarvik-transfer: ") + e.what() + "\n");
    return kExitUnexpected;
  }
  return kExitFailed;
}

}  // namespace tarvik::cli
