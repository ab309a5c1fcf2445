#include "platform/posix/errno_error.h"

#include <cerrno>

namespace tarvik::platform {

FileError FileErrorFromErrno(int error_number) {
  switch (error_number) {
    case 0: return FileError::None;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileError::DiskFull;
    case ENOENT:
    case ENOTDIR: return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return FileError::AccessDenied;
    case EEXIST: return FileError::AlreadyExists;
    case EWOULDBLOCK: return FileError::InUse;
    case EMFILE:
    case ENFILE: return FileError::TooManyFiles;
    case ENAMETOOLONG:
    case EILSEQ: return FileError::BadName;
    default: return FileError::Other;
  }
}

}  // namespace tarvik::platform
