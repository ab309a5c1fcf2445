// GetLastError values as FileError.
#pragma once

#include "platform/file_error.h"

namespace tarvik::platform {

FileError FileErrorFromWin32(unsigned long error_code);

}  // namespace tarvik::platform
