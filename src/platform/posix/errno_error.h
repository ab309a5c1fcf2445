// errno values as FileError.
#pragma once

#include "platform/file_error.h"

namespace tarvik::platform {

FileError FileErrorFromErrno(int error_number);

}  // namespace tarvik::platform
