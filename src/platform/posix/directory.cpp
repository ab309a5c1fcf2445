#include "platform/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarvik::platform {

bool FolderHasEntries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return false;
  // "." is an entry too, as the search for "*.*" finds it on Windows.
  const bool has_entry = readdir(dir) != nullptr;
  closedir(dir);
  return has_entry;
}

bool OpensAsRegularFile(const std::string& path) {
  // Non-blocking: a FIFO or a device at the path must not hang the test.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

std::optional<FileStatus> ExamineFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileStatus{static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtime)};
}

std::optional<std::uint64_t> FreeRoom(const std::string& folder) {
  struct statvfs disk {};
  if (statvfs(folder.empty() ? "." : folder.c_str(), &disk) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
}

}  // namespace tarvik::platform
