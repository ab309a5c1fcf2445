#include "platform/archive_file.h"

#include <windows.h>

#include "platform/win32/wide.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/win_error.h"

namespace tarvik::platform {

namespace {

// The byte range an export locks: far beyond any Jet file's end (2 GB), so it never covers bytes
// that others read, and Windows' byte-range locks refuse a second export at once.
constexpr DWORD kLockOffsetHigh = 0x40000000;
constexpr DWORD kLockOffsetLow = 0;

// Read access; others may read but not write, so an archive that another program holds open for
// writing is refused (sharing violation) rather than read half-written.
OwnedHandle open_for_reading(const std::string& path, FileError& error) {
  OwnedHandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) {
    error = FileErrorFromWin32(GetLastError());
    return h;
  }
  if (GetFileType(h.get()) != FILE_TYPE_DISK) {
    error = FileError::NotRegular;
    return OwnedHandle();
  }
  error = FileError::None;
  return h;
}

class Win32ArchiveFile final : public ArchiveFile {
 public:
  Win32ArchiveFile(OwnedHandle h, std::uint64_t size) : handle_(std::move(h)), size_(size) {}

  std::uint64_t size() const override { return size_; }

  std::int64_t read_at(std::uint64_t offset, void* buffer, std::size_t length) const override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
      OVERLAPPED at{};
      const std::uint64_t position = offset + done;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const std::size_t chunk = length - done > 0x40000000 ? 0x40000000 : length - done;
      DWORD got = 0;
      if (!ReadFile(handle_.get(), out + done, static_cast<DWORD>(chunk), &got, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return -1;
      }
      if (got == 0) break;
      done += got;
    }
    return static_cast<std::int64_t>(done);
  }

 private:
  OwnedHandle handle_;
  std::uint64_t size_;
};

class Win32ArchiveLock final : public ArchiveLock {
 public:
  explicit Win32ArchiveLock(OwnedHandle h) : handle_(std::move(h)) {}
  ~Win32ArchiveLock() override {
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(handle_.get(), 0, 1, 0, &at);
  }

 private:
  OwnedHandle handle_;
};

}  // namespace

std::unique_ptr<ArchiveFile> ArchiveFile::open(const std::string& path, FileError& error) {
  OwnedHandle h = open_for_reading(path, error);
  if (!h.valid()) return nullptr;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) {
    error = FileErrorFromWin32(GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32ArchiveFile>(std::move(h), static_cast<std::uint64_t>(size.QuadPart));
}

std::unique_ptr<ArchiveLock> ArchiveLock::acquire(const std::string& path, FileError& error) {
  OwnedHandle h = open_for_reading(path, error);
  if (!h.valid()) return nullptr;
  OVERLAPPED at{};
  at.Offset = kLockOffsetLow;
  at.OffsetHigh = kLockOffsetHigh;
  if (!LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD code = GetLastError();
    error = code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? FileError::InUse
                                                                     : FileErrorFromWin32(code);
    return nullptr;
  }
  error = FileError::None;
  return std::make_unique<Win32ArchiveLock>(std::move(h));
}

}  // namespace tarvik::platform
