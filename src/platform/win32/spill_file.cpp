#include "platform/spill_file.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win_error.h"

namespace tarvik::platform {

namespace {

// One call moves at most this much; the loops below go on for the rest.
constexpr DWORD kMostPerCall = 0x10000000;

DWORD chunk_of(std::size_t size) { return size > kMostPerCall ? kMostPerCall : static_cast<DWORD>(size); }

// Where a positioned ReadFile or WriteFile acts.
OVERLAPPED at_offset(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

// Opened to be deleted on close and shared with nobody: the system removes it when the handle
// closes, however the process ends.
class Win32SpillFile final : public SpillFile {
 public:
  explicit Win32SpillFile(OwnedHandle h) : handle_(std::move(h)) {}

  FileError append(const char* data, std::size_t size) override {
    while (size > 0) {
      OVERLAPPED at = at_offset(end_);
      DWORD written = 0;
      if (!WriteFile(handle_.get(), data, chunk_of(size), &written, &at)) return FileErrorFromWin32(GetLastError());
      if (written == 0) return FileError::DiskFull;
      data += written, size -= written, end_ += written;
    }
    return FileError::None;
  }

  FileError read(std::uint64_t offset, char* data, std::size_t size) override {
    while (size > 0) {
      OVERLAPPED at = at_offset(offset);
      DWORD got = 0;
      if (!ReadFile(handle_.get(), data, chunk_of(size), &got, &at)) return FileErrorFromWin32(GetLastError());
      if (got == 0) return FileError::Other;  // shorter than what was written
      data += got, size -= got, offset += got;
    }
    return FileError::None;
  }

 private:
  OwnedHandle handle_;
  std::uint64_t end_ = 0;
};

}  // namespace

std::unique_ptr<SpillFile> SpillFile::create(const std::string& folder, FileError& error) {
  static std::atomic<unsigned> made{0};
  std::wstring where = WidePath(folder.empty() ? std::string(".") : folder);
  if (where.back() != L'\\' && where.back() != L'/') where += L'\\';
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::wstring path = where + L".tarvik-spill-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(made.fetch_add(1));
    OwnedHandle h(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                              nullptr));
    if (h.valid()) {
      error = FileError::None;
      return std::make_unique<Win32SpillFile>(std::move(h));
    }
    error = FileErrorFromWin32(GetLastError());
    if (error != FileError::AlreadyExists) return nullptr;
  }
  return nullptr;
}

}  // namespace tarvik::platform
