// Runs the built tarvik-transfer the way a script does: its own working folder, environment
// entries set or removed, standard input from a file (not a terminal) or from a pseudo-terminal,
// and its exit code and both outputs collected.
#pragma once

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace tarvik::test::cli {

inline const std::string kProgram = TARVIK_TRANSFER_PROGRAM;

struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;  // with a terminal: everything the terminal showed
};

struct ProgramSetup {
  std::filesystem::path cwd = std::filesystem::temp_directory_path();
  // Entries to set; an entry set to nothing is removed.
  std::map<std::string, std::optional<std::string>> env;
  std::filesystem::path input = "/dev/null";
  // A shell line put before the program (`ulimit -f 8`), run through /bin/sh.
  std::string shell_prefix;
};

namespace detail {

inline std::vector<std::string> environment(const ProgramSetup& setup) {
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (!setup.env.count(entry.substr(0, entry.find('=')))) entries.push_back(entry);
  }
  for (const auto& [name, value] : setup.env)
    if (value) entries.push_back(name + "=" + *value);
  return entries;
}

inline std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

inline std::vector<std::string> command_line(const std::vector<std::string>& args, const ProgramSetup& setup) {
  std::vector<std::string> argv;
  if (setup.shell_prefix.empty()) {
    argv.push_back(kProgram);
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
  }
  // sh -c 'PREFIX; exec "$0" "$@"' PROGRAM ARGS...
  argv = {"/bin/sh", "-c", setup.shell_prefix + "; exec \"$0\" \"$@\"", kProgram};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

inline std::string read_all(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline int wait_for(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace detail

// Standard input from `setup.input`, standard output and error into files.
inline ProgramRun run_program(const std::vector<std::string>& args, const ProgramSetup& setup = {}) {
  TempDir outputs;
  const std::string out_path = (outputs / "out").string(), err_path = (outputs / "err").string();
  const std::string input = setup.input.string(), cwd = setup.cwd.string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<std::string> argv = detail::command_line(args, setup), envp = detail::environment(setup);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, detail::pointers(argv).data(),
                                 detail::pointers(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + argv[0]);
  ProgramRun run;
  run.exit_code = detail::wait_for(pid);
  run.out = detail::read_all(out_path);
  run.err = detail::read_all(err_path);
  return run;
}

// Standard input and error on a pseudo-terminal; once the terminal shows `prompt`, `typed` is
// given as the user's keys. Standard output goes into a file.
inline ProgramRun run_on_terminal(const std::vector<std::string>& args, const std::string& prompt,
                                  const std::string& typed, const ProgramSetup& setup = {}) {
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  TempDir outputs;
  const std::string out_path = (outputs / "out").string(), cwd = setup.cwd.string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, slave, 0);
  posix_spawn_file_actions_adddup2(&actions, slave, 2);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addclose(&actions, master);
  posix_spawn_file_actions_addclose(&actions, slave);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<std::string> argv = detail::command_line(args, setup), envp = detail::environment(setup);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, detail::pointers(argv).data(),
                                 detail::pointers(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  close(slave);
  if (failed != 0) {
    close(master);
    throw std::runtime_error("cannot start " + argv[0]);
  }
  ProgramRun run;
  bool typed_yet = false;
  char buffer[4096];
  for (;;) {  // read until the program has closed the terminal (EIO) or it ends
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n > 0) {
      run.err.append(buffer, static_cast<std::size_t>(n));
      if (!typed_yet && run.err.find(prompt) != std::string::npos) {
        typed_yet = true;
        if (write(master, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size()))
          throw std::runtime_error("cannot type on the terminal");
      }
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  close(master);
  run.exit_code = detail::wait_for(pid);
  run.out = detail::read_all(out_path);
  return run;
}

}  // namespace tarvik::test::cli
