// What went wrong in a file operation, in terms every platform can report. The layers above turn
// these into their own numbered errors.
#pragma once

namespace tarvik::platform {

enum class FileError {
  None,
  NotFound,         // the file or a folder on its path does not exist
  AccessDenied,     // permissions, a read-only medium, a folder in the way
  InUse,            // another program holds the file in a way that excludes us
  AlreadyExists,
  DiskFull,         // no room, quota or file size limit reached
  TooManyFiles,     // no file handle left
  BadName,          // too long, or characters the file system refuses
  NotRegular,       // a folder, device or pipe where a file was expected
  Other,
};

}  // namespace tarvik::platform
