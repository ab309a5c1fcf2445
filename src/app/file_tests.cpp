#include "app/file_tests.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvik::app {

namespace {
// The separator a folder text gets is the system's own: the Windows user sees "C:\Tarvik\".
#ifdef _WIN32
constexpr char kFolderSeparator = '\\';
#else
constexpr char kFolderSeparator = '/';
#endif
}  // namespace

std::string NormalizeFolder(const std::string& folder) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder;
  return folder + kFolderSeparator;
}

bool DirExists(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return false;
  bool has_entry = readdir(dir) != nullptr;
  closedir(dir);
  return has_entry;
}

bool FileExists(const std::string& path) {
  std::string file = path;
  if (!file.empty() && (file.back() == '\\' || file.back() == '/')) file.pop_back();
  // Non-blocking: a FIFO or a device at the path must not hang the test.
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

}  // namespace tarvik::app
