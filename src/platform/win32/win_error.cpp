#include "platform/win32/win_error.h"

#include <windows.h>

namespace tarvik::platform {

FileError FileErrorFromWin32(unsigned long code) {
  switch (code) {
    case ERROR_SUCCESS: return FileError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return FileError::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_DIRECTORY: return FileError::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileError::InUse;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return FileError::AlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return FileError::DiskFull;
    case ERROR_TOO_MANY_OPEN_FILES: return FileError::TooManyFiles;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return FileError::BadName;
    default: return FileError::Other;
  }
}

}  // namespace tarvik::platform
