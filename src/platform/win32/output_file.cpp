#include "platform/output_file.h"

#include <windows.h>
// windows.h maps ReplaceFile to the system's ReplaceFileW, which would rename the definition below.
#undef ReplaceFile

#include "platform/flush_behind.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win_error.h"

namespace tarvik::platform {

namespace {

// The handle is opened without FILE_SHARE_DELETE: while it is open nobody can delete or rename
// the file, which is the lock a later run's cleaner respects.
// Puts the file's data on disk.
FileError SyncData(HANDLE h) { return FlushFileBuffers(h) ? FileError::None : FileErrorFromWin32(GetLastError()); }

class Win32NewFile final : public NewFile {
 public:
  // The flusher behind keeps the raw handle: it is stopped before the handle closes.
  explicit Win32NewFile(OwnedHandle h)
      : handle_(std::move(h)), behind_([raw = handle_.get()] { return SyncData(raw); }) {}
  ~Win32NewFile() override { behind_.stop(); }

  FileError write(const char* data, std::size_t size) override {
    if (!handle_.valid()) return FileError::Other;
    while (size > 0) {
      const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(handle_.get(), data, chunk, &written, nullptr)) return FileErrorFromWin32(GetLastError());
      if (written == 0) return FileError::DiskFull;
      data += written;
      size -= written;
    }
    behind_.wrote();
    return FileError::None;
  }

  FileError flush() override {
    if (!handle_.valid()) return FileError::Other;
    return SyncData(handle_.get());
  }

  FileError flush_and_close() override {
    if (!handle_.valid()) return FileError::Other;
    const FileError behind = behind_.stop();
    FileError error = SyncData(handle_.get());
    if (!handle_.close() && error == FileError::None) error = FileErrorFromWin32(GetLastError());
    return error != FileError::None ? error : behind;
  }

 private:
  OwnedHandle handle_;
  FlushBehind behind_;
};

// Windows' file systems take names of at most 255 characters. A longer one is refused as the bad
// name it is, as on POSIX, where the system might call it a missing path.
bool HasOverlongName(std::wstring_view path) {
  std::size_t length = 0;
  for (const wchar_t c : path) {
    length = c == L'\\' || c == L'/' ? 0 : length + 1;
    if (length > 255) return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<NewFile> NewFile::create(const std::string& path, FileError& error) {
  const std::wstring wide = WidePath(path);
  if (HasOverlongName(wide)) {
    error = FileError::BadName;
    return nullptr;
  }
  OwnedHandle h(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) {
    error = FileErrorFromWin32(GetLastError());
    return nullptr;
  }
  error = FileError::None;
  return std::make_unique<Win32NewFile>(std::move(h));
}

FileError ReplaceFile(const std::string& from, const std::string& to) {
  if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return FileErrorFromWin32(GetLastError());
  return FileError::None;
}

void RemoveFile(const std::string& path) noexcept { DeleteFileW(WidePath(path).c_str()); }

bool RemoveIfUnlocked(const std::string& path) noexcept {
  // A file still open in a live run refuses the delete with a sharing violation.
  return DeleteFileW(WidePath(path).c_str()) != 0;
}

}  // namespace tarvik::platform
