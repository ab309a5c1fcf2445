// The one error type of the transfer file: a number and an Italian description, the way the
// platform reports a failed file operation, so the run-wide handler shows it like the engine's
// errors. Every error the transfer file can raise is made by one of the functions below.
#pragma once

#include <string>

#include "common/numbered_error.h"

namespace tarvik::transfer {

class TransferError : public NumberedError {
 public:
  using NumberedError::NumberedError;
};

namespace errors {

// 13: a value of a kind the file has no line for (binary data, GUID).
TransferError type_mismatch();
// 52: the file name cannot be used (too long).
TransferError bad_file_name();
// 57: any other failure of the device while writing.
TransferError device_io();
// 61: no room left for the file (disk or quota full, or the file size limit reached).
TransferError disk_full();
// 67: the process has no file handle left.
TransferError too_many_files();
// 75: the file or its folder cannot be written (permissions, read-only, a folder in the way).
TransferError path_access();
// 76: the folder of the file does not exist.
TransferError path_not_found();

}  // namespace errors
}  // namespace tarvik::transfer
