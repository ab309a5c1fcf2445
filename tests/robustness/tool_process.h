// Runs the built tarvik-transfer as a child process, the way a user or a script runs it, so a test
// sees what they see: the exit code, the messages, the files left behind. A sanitizer report in
// the child ends it with an exit code of its own (kSanitizerExitCode), never one of the tool's.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::test {

inline constexpr const char* kToolPath = TARVIK_TRANSFER_PROGRAM;

// Exit codes the child process itself uses when it could not become what was asked.
inline constexpr int kCouldNotDropPrivileges = 125;
inline constexpr int kCouldNotExec = 127;
inline constexpr int kSanitizerExitCode = 86;

struct ToolOptions {
  // Implicit, so that a plain argument list runs the tool with nothing else asked.
  ToolOptions(std::vector<std::string> arguments) : args(std::move(arguments)) {}

  // The limit on the size of any file the child writes (RLIMIT_FSIZE), in bytes.
  ToolOptions& with_file_size_limit(std::uint64_t bytes) {
    file_size_limit = bytes;
    return *this;
  }
  // Runs `tool` (a copy user nobody can reach) as user and group 65534 when running as root.
  ToolOptions& as_user_nobody(std::string tool) {
    program = std::move(tool);
    as_nobody = true;
    return *this;
  }

  std::vector<std::string> args;  // after the program's name
  std::string program = kToolPath;
  std::optional<std::uint64_t> file_size_limit;
  bool as_nobody = false;
};

struct ToolResult {
  int exit_code = -1;  // when the child exited
  int signal = 0;      // when a signal ended it
  std::string output;  // standard output and standard error, interleaved as written

  bool exited_with(int code) const { return signal == 0 && exit_code == code; }
  // A sanitizer report or an abort: never an acceptable outcome of any run.
  bool crashed() const;
};

// Runs to the end and collects everything the child wrote.
ToolResult run_tool(const ToolOptions& options);

// A child whose output goes into a pipe of one page that is read only when asked: once the pipe
// is full the child waits at its next message, so a test can hold an export in the middle.
class RunningTool {
 public:
  explicit RunningTool(const ToolOptions& options);
  ~RunningTool();  // a child still running is killed and reaped
  RunningTool(const RunningTool&) = delete;
  RunningTool& operator=(const RunningTool&) = delete;

  // Reads the output until `text` has appeared in it; false when the child closed it first.
  bool read_until(std::string_view text);
  // SIGKILL, then waits.
  ToolResult kill_and_wait();
  // Reads the output to its end, then waits.
  ToolResult finish();

 private:
  ToolResult wait();
  pid_t pid_ = -1;
  int output_fd_ = -1;
  std::string output_;
};

}  // namespace tarvik::test
